# What the Linux cross toolchain files share: Debian's cross compiler for the processor
# ORVO_LINUX_PROCESSOR, named by its GNU triplet ORVO_LINUX_TRIPLET (as in aarch64-linux-gnu,
# the processor's own name with -linux-gnu when the file sets none), the target's libraries from
# the cross compiler's own folder /usr/<triplet>, and the test programs run under qemu-user's
# emulator of the processor, ORVO_QEMU_PROCESSOR, with that folder as the root of the emulated
# program's loader and libraries (-L). A processor this machine runs itself sets no emulator.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${ORVO_LINUX_PROCESSOR})

if(NOT ORVO_LINUX_TRIPLET)
  set(ORVO_LINUX_TRIPLET ${ORVO_LINUX_PROCESSOR}-linux-gnu)
endif()
set(CMAKE_C_COMPILER ${ORVO_LINUX_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ORVO_LINUX_TRIPLET}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVO_LINUX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(ORVO_QEMU_PROCESSOR)
  find_program(ORVO_QEMU NAMES qemu-${ORVO_QEMU_PROCESSOR} NO_CMAKE_FIND_ROOT_PATH)
  # The build itself runs a tool of its own making, the version block writer, under it.
  if(NOT ORVO_QEMU)
    message(FATAL_ERROR "qemu-${ORVO_QEMU_PROCESSOR} not found: the build runs its version block "
                        "writer under it (apt-get install qemu-user)")
  endif()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVO_QEMU} -L /usr/${ORVO_LINUX_TRIPLET})
endif()
