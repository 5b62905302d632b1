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
// the system's resolver. The last answer is reused for one second, as the Windows resolver cache
// keeps it: a sender asks for its one server again at every send. A failure is not kept.
class THostResolver {
 public:
  using TClock = std::chrono::steady_clock;
  static constexpr TClock::duration kLifetime = std::chrono::seconds(1);

  // 0 with `answer` filled, or the WinSock code of the failure with `answer` unspecified.
  std::int32_t Resolve(std::string_view name, THostAnswer& answer);

 private:
  // A message and a UDP client on two threads resolve through the one cache.
  std::mutex FLock;
  bool FKept = false;
  std::string FKeptName;
  THostAnswer FKeptAnswer;
  TClock::time_point FKeptSince;
};

// One cache for the whole process, as the system keeps one for every program.
THostResolver& ProcessResolver();

}  // namespace orvo::ws2posix
