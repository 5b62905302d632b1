# The clock layer: local time with milliseconds (POSIX now; GetLocalTime on Windows later).
if(NOT TARGET orvo_platform)
  add_library(orvo_platform STATIC)
  target_include_directories(orvo_platform PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(orvo_platform PRIVATE orvo_warnings)
endif()
target_sources(orvo_platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Clock_posix.cpp)
target_link_libraries(orvo_platform PUBLIC orvo_base)
