# The end-to-end benchmark's helpers (bench/run.sh): a counting loopback receiver and the raw
# sendto loop that is this machine's limit. Plain programs, no benchmark library.
add_executable(loopback_receiver ${CMAKE_CURRENT_LIST_DIR}/LoopbackReceiver.cpp)
target_link_libraries(loopback_receiver PRIVATE orvo_warnings)
add_executable(raw_send_loop ${CMAKE_CURRENT_LIST_DIR}/RawSendLoop.cpp)
target_link_libraries(raw_send_loop PRIVATE orvo_warnings)
