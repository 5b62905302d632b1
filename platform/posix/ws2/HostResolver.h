#pragma once

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
// the IPv4 addresses of the interfaces that are up, connected (running) and not loopback, in the
// order of the list; 127.0.0.1 alone when there is none. Windows, too, leaves out an adapter
// whose cable is unplugged.
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

  TSystem& FSystem;
  std::mutex FLock;
  std::vector<TKept> FKept;
};

// The process's one resolver, asking this machine: its name, its interfaces and the system's
// resolver. One cache serves the whole process, as the system keeps one for every program.
THostResolver& ProcessResolver();

}  // namespace orvo::ws2posix
