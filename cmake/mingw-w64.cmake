# What both Windows toolchain files share: Debian's mingw-w64 (posix threads variant) for the
# processor ORVO_MINGW_PROCESSOR, programs linked statically against the C and C++ runtimes so
# that each runs as a single file, and the test programs run under the Wine loader
# ORVO_WINE_LOADER, which Debian puts under /usr/lib/wine without a link on the PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ORVO_MINGW_PROCESSOR})

set(ORVO_MINGW_PREFIX ${ORVO_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(ORVO_WINE NAMES ${ORVO_WINE_LOADER} PATHS /usr/lib/wine NO_DEFAULT_PATH
             NO_CMAKE_FIND_ROOT_PATH)
if(ORVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVO_WINE})
endif()
