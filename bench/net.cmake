# SendText of the UDP client beside a raw sendto loop, both to a loopback receiver.
add_executable(net_bench ${CMAKE_CURRENT_SOURCE_DIR}/NetBench.cpp)
target_link_libraries(net_bench PRIVATE orvo_net benchmark::benchmark orvo_warnings)
# The benchmark counts allocations with its own operator new over malloc; GCC takes the matching
# operator delete over free for a mismatch once both are inlined.
target_compile_options(net_bench PRIVATE -Wno-mismatched-new-delete)
