#pragma once

#include <time.h>

// The C library's own name of the clock_gettime that this build calls, for a preloaded library
// that replaces it to find the one it stands in front of: a 32-bit build with the 64-bit time
// calls __clock_gettime64, which the headers name clock_gettime there.
#ifdef __USE_TIME_BITS64
inline constexpr const char* kClockGetTimeSymbol = "__clock_gettime64";
#else
inline constexpr const char* kClockGetTimeSymbol = "clock_gettime";
#endif
