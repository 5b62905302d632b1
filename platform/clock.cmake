# The clock layer: local time with milliseconds (clock_gettime on POSIX, GetLocalTime on Windows).
if(WIN32)
  target_sources(orvo_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/Clock_windows.cpp)
else()
  target_sources(orvo_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Clock.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/Clock_posix.cpp)
endif()
target_link_libraries(orvo_platform PUBLIC orvo_base)
