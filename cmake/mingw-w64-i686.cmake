# Cross-build for 32-bit Windows; the test programs run under 32-bit Wine (Debian's wine32 of the
# i386 architecture).
set(ORVO_MINGW_PROCESSOR i686)
set(ORVO_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
