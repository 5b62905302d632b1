# Cross-build for 32-bit Linux on ARM with hardware floating point (Debian's armhf, 32-bit
# Raspberry Pi systems); the test programs run under qemu-arm.
set(ORVO_LINUX_PROCESSOR arm)
set(ORVO_LINUX_TRIPLET arm-linux-gnueabihf)
set(ORVO_QEMU_PROCESSOR arm)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
