#include "platform/posix/ws2_32/HostResolver.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

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
         (entry.ifa_flags & IFF_UP) != 0 && (entry.ifa_flags & IFF_LOOPBACK) == 0;
}

// A kept answer is let go once it has lived its time; the table stays small however many names
// a program resolves.
constexpr std::size_t kMostKept = 64;

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
  const std::lock_guard<TLock> guard(FLock);
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
  const std::lock_guard<TLock> guard(FLock);
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

}  // namespace orvo::ws2posix
