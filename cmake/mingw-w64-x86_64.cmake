# Cross-build for 64-bit Windows; the test programs run under wine64.
set(ORVO_MINGW_PROCESSOR x86_64)
set(ORVO_WINE_LOADER wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
