# Cross-build for 32-bit Linux on x86 (Debian's i386). This machine's 64-bit kernel runs its
# programs itself, with the C library of Debian's i386 architecture (libc6:i386): no emulator.
set(ORVO_LINUX_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
