# The socket layer: the library loader every platform needs, and the socket adapter that stands
# in for WS2_32.DLL. The adapter is a shared library loaded at run time by file name, so it is
# not linked to anything; it sits beside the executables (build tree and installation alike).
add_library(orvo_platform_library STATIC ${CMAKE_CURRENT_SOURCE_DIR}/posix/Library.cpp)
target_include_directories(orvo_platform_library PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(orvo_platform_library PUBLIC ${CMAKE_DL_LIBS} PRIVATE orvo_warnings)

add_library(orvo_ws2_adapter SHARED ${CMAKE_CURRENT_SOURCE_DIR}/posix/Ws2Exports.cpp
                                    ${CMAKE_CURRENT_SOURCE_DIR}/posix/Ws2Posix.cpp)
set_target_properties(orvo_ws2_adapter PROPERTIES OUTPUT_NAME ws2_32 CXX_VISIBILITY_PRESET hidden
                                                  VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(orvo_ws2_adapter PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(orvo_ws2_adapter PRIVATE orvo_warnings)
install(TARGETS orvo_ws2_adapter LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/orvologger)
