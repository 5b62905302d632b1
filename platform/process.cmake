# Console, process and version-resource layers.
if(NOT TARGET orvo_platform)
  add_library(orvo_platform STATIC)
  target_include_directories(orvo_platform PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(orvo_platform PRIVATE orvo_warnings)
endif()
target_sources(orvo_platform PRIVATE
  posix/ConsolePosix.cpp
  posix/ProcessPosix.cpp
  posix/VersionInfoPosix.cpp
  VersionBlockWriter.cpp)

# Build-time tool: writes the source that embeds a program's version block.
add_executable(orvo_make_version_resource tools/MakeVersionResource.cpp)
target_link_libraries(orvo_make_version_resource PRIVATE orvo_platform orvo_warnings)
