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

struct THostAnswer {
  std::string Name;
  std::vector<TIPv4> Addresses;
};

// The addresses by which other machines reach this one: the IPv4 addresses of the interfaces
// that are up, running and not loopback, in list order; 127.0.0.1 alone when there is none.
// Windows, too, leaves out an adapter whose cable is unplugged.
std::vector<TIPv4> LocalHostAddresses(const ifaddrs* interfaces);

// What the resolver asks of the machine (HostMachine.cpp).
namespace machine {
std::string OwnHostName();
std::vector<TIPv4> InterfaceAddresses();
// 0 with `answer` filled, or the WinSock code of the failure.
std::int32_t LookUpName(const std::string& name, THostAnswer& answer);
std::chrono::steady_clock::time_point Now();
}  // namespace machine

// Host names to addresses as gethostbyname answers them. The machine's own name (in any case)
// and the empty name are the local host, answered from the interfaces; every other name goes to
// the system's resolver. An answer is reused for one second, as the Windows resolver cache keeps
// it; a failure is not kept.
class THostResolver {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr TClock::duration kLifetime = std::chrono::seconds(1);

  // 0 with `answer` filled, or the WinSock code of the failure with `answer` unspecified.
  std::int32_t Resolve(std::string_view name, THostAnswer& answer);

 private:
  // A program resolves one name or a few: a short list searched in order.
  struct TKept {
    std::string Name;
    THostAnswer Answer;
    TClock::time_point Since;
  };

  bool FindKept(std::string_view name, TClock::time_point now, THostAnswer& answer);
  void Keep(std::string_view name, const THostAnswer& answer, TClock::time_point since);

  // A message and a UDP client on two threads resolve through the one cache.
  std::mutex FLock;
  std::vector<TKept> FKept;
};

// One cache for the whole process, as the system keeps one for every program.
THostResolver& ProcessResolver();

}  // namespace orvo::ws2posix
