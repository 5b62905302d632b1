# Cross-build for Linux on 64-bit ARM (Debian's arm64); the test programs run under qemu-aarch64.
set(ORVO_LINUX_PROCESSOR aarch64)
set(ORVO_QEMU_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
