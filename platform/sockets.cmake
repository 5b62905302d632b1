# The socket layer: the library loader (part of orvo_platform), and on POSIX the socket adapter
# that stands in for WS2_32.DLL. The adapter is a shared library loaded at run time by file name, so
# nothing links it; it sits beside the executables in the build tree and in
# lib/orvologger after installation, where the loader looks for it.
if(WIN32)
  # On Windows the binding loads the system's own WS2_32.DLL.
  target_sources(orvo_platform PRIVATE windows/LibraryWindows.cpp)
  return()
endif()
target_sources(orvo_platform PRIVATE posix/Library.cpp)
# Where the installed adapter lies, relative to the installed program's folder.
target_compile_definitions(orvo_platform
                           PRIVATE "ORVO_PRIVATE_LIBRARY_FOLDER=\"${ORVO_PKGLIBDIR_FROM_BINDIR}\"")
target_link_libraries(orvo_platform PUBLIC ${CMAKE_DL_LIBS})

# The adapter's host resolver, on its own so that its tests can drive it with a system of their
# making; built as the adapter is (position-independent, without link-time optimisation).
add_library(orvo_ws2_resolver OBJECT posix/HostResolver.cpp)
set_target_properties(orvo_ws2_resolver PROPERTIES POSITION_INDEPENDENT_CODE ON
                                                   CXX_VISIBILITY_PRESET hidden
                                                   VISIBILITY_INLINES_HIDDEN ON
                                                   INTERPROCEDURAL_OPTIMIZATION OFF)
target_include_directories(orvo_ws2_resolver PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orvo_ws2_resolver PRIVATE orvo_warnings)

add_library(orvo_ws2_adapter SHARED posix/Ws2Exports.cpp posix/Ws2Posix.cpp)
# Its exports bear the names of the C library functions it calls (sendto, inet_addr, ...). Those
# calls reach the C library because the loader looks there first; link-time optimisation would
# bind them to the adapter's own exports instead, so the adapter is always built without it.
set_target_properties(orvo_ws2_adapter PROPERTIES OUTPUT_NAME ws2_32 CXX_VISIBILITY_PRESET hidden
                                                  VISIBILITY_INLINES_HIDDEN ON
                                                  INTERPROCEDURAL_OPTIMIZATION OFF)
target_include_directories(orvo_ws2_adapter PRIVATE ${PROJECT_SOURCE_DIR})
# Its own copy of the C++ runtime stays private: the adapter exports its socket functions only.
target_link_libraries(orvo_ws2_adapter PRIVATE orvo_warnings orvo_static_cxx_runtime
                                               orvo_ws2_resolver)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_link_options(orvo_ws2_adapter PRIVATE -Wl,--exclude-libs,ALL)
endif()
install(TARGETS orvo_ws2_adapter LIBRARY DESTINATION ${ORVO_INSTALL_PKGLIBDIR})
