# Cross-build for Linux on IBM Z (Debian's s390x, big-endian); the test programs run under
# qemu-s390x.
set(ORVO_LINUX_PROCESSOR s390x)
set(ORVO_QEMU_PROCESSOR s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
