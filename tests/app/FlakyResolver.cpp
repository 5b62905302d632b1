// Preloaded by the end-to-end tests: "flaky host!" resolves to 127.0.0.1 ORVO_FLAKY_RESOLVES
// times and then fails, so a send in mid-run fails; each look-up moves the monotonic clock on two
// seconds, past the adapter's one-second answer. Other names go to the system's resolver.
#include <dlfcn.h>
#include <netdb.h>
#include <netinet/in.h>
#include <time.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

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
  static const auto system = reinterpret_cast<TClockGetTime>(dlsym(RTLD_NEXT, "clock_gettime"));
  const int result = system(clock, time);
  if (result == 0 && clock == CLOCK_MONOTONIC)
    time->tv_sec += 2 * Lookups.load();
  return result;
}
