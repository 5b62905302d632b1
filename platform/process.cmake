# Console, process, file and version-resource layers.
if(WIN32)
  # The version data is the executable's own version resource, compiled by windres.
  target_sources(orvo_platform PRIVATE
    windows/ConsoleWindows.cpp
    windows/FileWindows.cpp
    windows/ProcessWindows.cpp
    windows/VersionInfoWindows.cpp
    GivenArguments.cpp
    VersionBlockWriter.cpp)
  target_link_libraries(orvo_platform PUBLIC version)
else()
  target_sources(orvo_platform PRIVATE
    posix/ConsolePosix.cpp
    posix/FilePosix.cpp
    posix/ProcessPosix.cpp
    posix/VersionInfoPosix.cpp
    GivenArguments.cpp
    VersionBlockWriter.cpp)

  # Build-time tool: writes the source that embeds a program's version block.
  add_executable(orvo_make_version_resource tools/MakeVersionResource.cpp)
  target_link_libraries(orvo_make_version_resource PRIVATE orvo_platform orvo_warnings)
endif()
