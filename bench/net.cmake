# SendText of the UDP client beside a raw sendto loop, both to a loopback receiver.
add_executable(net_bench ${CMAKE_CURRENT_SOURCE_DIR}/NetBench.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/AllocationCount.cpp)
target_link_libraries(net_bench PRIVATE orvo_net benchmark::benchmark orvo_warnings)
