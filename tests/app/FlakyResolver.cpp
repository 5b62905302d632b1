// Preloaded by the end-to-end tests: "flaky host!" resolves to 127.0.0.1 ORVO_FLAKY_RESOLVES
// times and then fails, so a send in mid-run fails; each look-up moves the monotonic clock on two
// seconds, past the adapter's one-second answer. Other names go to the system's resolver.
// A 32-bit build calls the clock by two names, its own 64-bit one and the C++ runtime's 32-bit one;
// both are moved on.
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/in.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "ClockSymbol.h"

namespace {

std::atomic<long> Lookups{0};

using TGetAddrInfo = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
using TClockGetTime = int (*)(clockid_t, timespec*);

}  // namespace

extern "C" __attribute__((visibility("default"))) int getaddrinfo(const char* node,
                                                                  const char* service,
                                                                  const addrinfo* hints,
                                                                  addrinfo** result) {
  static const auto system = reinterpret_cast<TGetAddrInfo>(dlsym(RTLD_NEXT, "getaddrinfo"));
  if (node == nullptr || std::strcmp(node, "flaky host!") != 0)
    return system(node, service, hints, result);
  const char* allowed = std::getenv("ORVO_FLAKY_RESOLVES");
  if (Lookups++ >= (allowed != nullptr ? std::atol(allowed) : 0))
    return EAI_NONAME;
  return system("127.0.0.1", service, hints, result);
}

extern "C" __attribute__((visibility("default"))) int clock_gettime(clockid_t clock,
                                                                    timespec* time) {
  static const auto system = reinterpret_cast<TClockGetTime>(dlsym(RTLD_NEXT, kClockGetTimeSymbol));
  const int result = system(clock, time);
  if (result == 0 && clock == CLOCK_MONOTONIC)
    time->tv_sec += 2 * Lookups.load();
  return result;
}

#ifdef __USE_TIME_BITS64
namespace {

// The C library's timespec of the 32-bit time.
struct TTimeSpec32 {
  std::int32_t Seconds;
  std::int32_t Nanoseconds;
};

using TClockGetTime32 = int (*)(clockid_t, TTimeSpec32*);

}  // namespace

extern "C" __attribute__((visibility("default"))) int ClockGetTime32(
    clockid_t clock, TTimeSpec32* time) asm("clock_gettime");
int ClockGetTime32(clockid_t clock, TTimeSpec32* time) {
  static const auto system = reinterpret_cast<TClockGetTime32>(dlsym(RTLD_NEXT, "clock_gettime"));
  const int result = system(clock, time);
  if (result == 0 && clock == CLOCK_MONOTONIC)
    time->Seconds += static_cast<std::int32_t>(2 * Lookups.load());
  return result;
}
#endif
