# Encoding and parsing of one syslog message.
add_executable(syslog_bench ${CMAKE_CURRENT_LIST_DIR}/SyslogBench.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/AllocationCount.cpp)
target_link_libraries(syslog_bench PRIVATE orvo_syslog benchmark::benchmark_main orvo_warnings)
