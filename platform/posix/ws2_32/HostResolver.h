#pragma once

#include <pthread.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct ifaddrs;

namespace orvo::ws2posix {

using TIPv4 = std::array<std::uint8_t, 4>;

// What a host name resolves to: the host's official name and its IPv4 addresses, in order.
struct THostAnswer {
  std::string Name;
  std::vector<TIPv4> Addresses;
};

// The addresses by which other machines reach this one, as WinSock answers for the local host:
// the IPv4 addresses of the interfaces that are up and not loopback, in the order of the list;
// 127.0.0.1 alone when there is none.
std::vector<TIPv4> LocalHostAddresses(const ifaddrs* interfaces);

// Host names to addresses, as WinSock's gethostbyname answers them. The machine's own name
// (whatever its case) and the empty name are the local host, answered from the interfaces and
// never from the hosts file or DNS; every other name goes to the system's resolver. An answer
// is reused for one second at most, as the Windows resolver cache keeps it; a failure is not
// kept. Safe for several threads at once.
class THostResolver {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr TClock::duration kLifetime = std::chrono::seconds(1);

  // What the resolver asks of the system; tests give their own.
  class TSystem {
   public:
    virtual ~TSystem() = default;
    virtual std::string HostName() = 0;
    virtual std::vector<TIPv4> LocalAddresses() = 0;
    // 0 with `answer` filled, or the WinSock code of the failure.
    virtual std::int32_t LookUp(const std::string& name, THostAnswer& answer) = 0;
    virtual TClock::time_point Now() = 0;
  };

  explicit THostResolver(TSystem& system);

  // 0 with `answer` filled, or the WinSock code of the failure with `answer` unspecified.
  std::int32_t Resolve(std::string_view name, THostAnswer& answer);

 private:
  // A program resolves one name or a few: a short list searched in order costs less than hashing
  // the name on every send.
  struct TKept {
    std::string Name;
    THostAnswer Answer;
    TClock::time_point Since;
  };

  bool FindKept(std::string_view name, TClock::time_point now, THostAnswer& answer);
  void Keep(std::string_view name, const THostAnswer& answer, TClock::time_point since);
  std::int32_t Ask(const std::string& name, THostAnswer& answer);

  // The system's mutex, whose lock and unlock cannot fail on a mutex that exists: std::mutex
  // would bring the exception machinery of its failures into the adapter, which every program
  // start then pays for in relocations.
  class TLock {
   public:
    TLock() = default;
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;
    ~TLock() { pthread_mutex_destroy(&FMutex); }
    void lock() noexcept { pthread_mutex_lock(&FMutex); }
    void unlock() noexcept { pthread_mutex_unlock(&FMutex); }

   private:
    pthread_mutex_t FMutex = PTHREAD_MUTEX_INITIALIZER;
  };

  TSystem& FSystem;
  TLock FLock;
  std::vector<TKept> FKept;
};

}  // namespace orvo::ws2posix
