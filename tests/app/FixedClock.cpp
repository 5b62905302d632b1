// Preloaded into the program by the end-to-end tests: the wall clock (CLOCK_REALTIME and its
// coarse reading) stands at the second since 1970 that ORVO_FIXED_CLOCK gives, so a test can
// send from a date of its choosing; every other clock is the system's. Built with the program's
// own time_t, it replaces the function the program calls (__clock_gettime64 on a 32-bit build).
#include <dlfcn.h>
#include <time.h>

#include <cstdlib>

#include "ClockSymbol.h"

namespace {

using TClockGetTime = int (*)(clockid_t, timespec*);

}  // namespace

extern "C" __attribute__((visibility("default"))) int clock_gettime(clockid_t clock,
                                                                    timespec* time) {
  static const auto system = reinterpret_cast<TClockGetTime>(dlsym(RTLD_NEXT, kClockGetTimeSymbol));
  const char* fixed = std::getenv("ORVO_FIXED_CLOCK");
  if (fixed == nullptr || (clock != CLOCK_REALTIME && clock != CLOCK_REALTIME_COARSE))
    return system(clock, time);
  time->tv_sec = static_cast<time_t>(std::strtoll(fixed, nullptr, 10));
  time->tv_nsec = 0;
  return 0;
}
