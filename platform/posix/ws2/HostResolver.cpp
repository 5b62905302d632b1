#include "platform/posix/ws2/HostResolver.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "platform/WinSock.h"
#include "platform/posix/ws2/ErrorCodes.h"

namespace orvo::ws2posix {

namespace {

// Names of hosts are compared as DNS compares them: ASCII letters without regard to case.
bool SameHostName(std::string_view a, std::string_view b) noexcept {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

bool ReachesOtherMachines(const ifaddrs& entry) noexcept {
  return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == AF_INET &&
         (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_RUNNING) != 0 &&
         (entry.ifa_flags & IFF_LOOPBACK) == 0;
}

// A kept answer is let go once it has lived its time; the table stays small however many names
// a program resolves.
constexpr std::size_t kMostKept = 64;

struct TAddrInfoFree {
  void operator()(addrinfo* list) const noexcept { freeaddrinfo(list); }
};

struct TIfAddrsFree {
  void operator()(ifaddrs* list) const noexcept { freeifaddrs(list); }
};

// The system resolver's IPv4 answer for a name other than the local host's: 0, or the WinSock
// code of the failure.
std::int32_t LookUpName(const std::string& name, THostAnswer& answer) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  hints.ai_flags = AI_CANONNAME;
  addrinfo* found = nullptr;
  const int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (result != 0)
    return ResolverCodeOf(result);
  const std::unique_ptr<addrinfo, TAddrInfoFree> list(found);
  answer.Addresses.clear();
  for (const addrinfo* entry = list.get(); entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addr == nullptr)
      continue;
    TIPv4 bytes{};
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, 4);
    if (std::find(answer.Addresses.begin(), answer.Addresses.end(), bytes) ==
        answer.Addresses.end())
      answer.Addresses.push_back(bytes);
  }
  if (answer.Addresses.empty())
    return ws2::WS_WSANO_DATA;
  answer.Name = list->ai_canonname != nullptr ? list->ai_canonname : name;
  return 0;
}

// The machine's own name; empty when it can't be read.
std::string OwnHostName() {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0)
    return {};
  return name.data();
}

// Where getifaddrs fails, no interface is known to be up: the local host is 127.0.0.1.
std::vector<TIPv4> InterfaceAddresses() {
  ifaddrs* interfaces = nullptr;
  if (::getifaddrs(&interfaces) != 0)
    return LocalHostAddresses(nullptr);
  const std::unique_ptr<ifaddrs, TIfAddrsFree> list(interfaces);
  return LocalHostAddresses(list.get());
}

// The resolver's questions, answered by this machine.
class TMachine final : public THostResolver::TSystem {
 public:
  std::string HostName() override { return OwnHostName(); }
  std::vector<TIPv4> LocalAddresses() override { return InterfaceAddresses(); }
  std::int32_t LookUp(const std::string& name, THostAnswer& answer) override {
    return LookUpName(name, answer);
  }
  THostResolver::TClock::time_point Now() override { return THostResolver::TClock::now(); }
};

}  // namespace

std::vector<TIPv4> LocalHostAddresses(const ifaddrs* interfaces) {
  std::vector<TIPv4> addresses;
  for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
    if (!ReachesOtherMachines(*entry))
      continue;
    TIPv4 bytes{};
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr,
                bytes.size());
    if (std::find(addresses.begin(), addresses.end(), bytes) == addresses.end())
      addresses.push_back(bytes);
  }
  if (addresses.empty())
    addresses.push_back({127, 0, 0, 1});
  return addresses;
}

THostResolver::THostResolver(TSystem& system) : FSystem(system) {}

std::int32_t THostResolver::Resolve(std::string_view name, THostAnswer& answer) {
  const TClock::time_point now = FSystem.Now();
  if (FindKept(name, now, answer))
    return 0;
  // The name may lie in the answer that the look-up overwrites (a caller handing back the name
  // of its entry): the copy is what is asked and kept.
  const std::string asked(name);
  const std::int32_t code = Ask(asked, answer);
  if (code == 0)
    Keep(asked, answer, now);
  return code;
}

bool THostResolver::FindKept(std::string_view name, TClock::time_point now, THostAnswer& answer) {
  const std::lock_guard<std::mutex> guard(FLock);
  const auto kept = std::find_if(FKept.begin(), FKept.end(),
                                 [&](const TKept& entry) { return entry.Name == name; });
  if (kept == FKept.end() || now - kept->Since >= kLifetime)
    return false;
  answer.Name = kept->Answer.Name;
  answer.Addresses = kept->Answer.Addresses;
  return true;
}

void THostResolver::Keep(std::string_view name, const THostAnswer& answer,
                         TClock::time_point since) {
  const std::lock_guard<std::mutex> guard(FLock);
  const auto kept = std::find_if(FKept.begin(), FKept.end(),
                                 [&](const TKept& entry) { return entry.Name == name; });
  if (kept != FKept.end()) {
    kept->Answer = answer;
    kept->Since = since;
    return;
  }
  if (FKept.size() >= kMostKept) {
    std::erase_if(FKept, [&](const TKept& entry) { return since - entry.Since >= kLifetime; });
    if (FKept.size() >= kMostKept)
      FKept.clear();
  }
  FKept.push_back(TKept{std::string(name), answer, since});
}

std::int32_t THostResolver::Ask(const std::string& name, THostAnswer& answer) {
  const std::string own = FSystem.HostName();
  if (name.empty() || SameHostName(name, own)) {
    answer.Name = own;
    answer.Addresses = FSystem.LocalAddresses();
    return 0;
  }
  return FSystem.LookUp(name, answer);
}

THostResolver& ProcessResolver() {
  static TMachine machine;
  static THostResolver resolver(machine);
  return resolver;
}

}  // namespace orvo::ws2posix
