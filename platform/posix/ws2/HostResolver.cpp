#include "platform/posix/ws2/HostResolver.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "base/Text.h"

namespace orvo::ws2posix {

namespace {

bool ReachesOtherMachines(const ifaddrs& entry) noexcept {
  return entry.ifa_addr != nullptr && entry.ifa_addr->sa_family == AF_INET &&
         (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_RUNNING) != 0 &&
         (entry.ifa_flags & IFF_LOOPBACK) == 0;
}

// Names of hosts compare as DNS compares them: ASCII letters without regard to case.
std::int32_t Ask(const std::string& name, THostAnswer& answer) {
  const std::string own = machine::OwnHostName();
  if (name.empty() || text::EqualsIgnoringCase(name, own)) {
    answer.Name = own;
    answer.Addresses = machine::InterfaceAddresses();
    return 0;
  }
  return machine::LookUpName(name, answer);
}

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

std::int32_t THostResolver::Resolve(std::string_view name, THostAnswer& answer) {
  const TClock::time_point now = machine::Now();
  {
    const std::lock_guard<std::mutex> guard(FLock);
    if (FKept && FKeptName == name && now - FKeptSince < kLifetime) {
      answer.Name = FKeptAnswer.Name;
      answer.Addresses = FKeptAnswer.Addresses;
      return 0;
    }
  }
  // The name may lie in the answer the look-up overwrites: the copy is what is asked and kept.
  std::string asked(name);
  const std::int32_t code = Ask(asked, answer);
  if (code == 0) {
    const std::lock_guard<std::mutex> guard(FLock);
    FKept = true;
    FKeptName = std::move(asked);
    FKeptAnswer = answer;
    FKeptSince = now;
  }
  return code;
}

THostResolver& ProcessResolver() {
  static THostResolver resolver;
  return resolver;
}

}  // namespace orvo::ws2posix
