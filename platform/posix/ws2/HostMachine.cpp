#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/WinSock.h"
#include "platform/posix/ws2/ErrorCodes.h"
#include "platform/posix/ws2/HostResolver.h"

namespace orvo::ws2posix::machine {

namespace {

struct TAddrInfoFree {
  void operator()(addrinfo* list) const noexcept { freeaddrinfo(list); }
};

struct TIfAddrsFree {
  void operator()(ifaddrs* list) const noexcept { freeifaddrs(list); }
};

}  // namespace

std::string OwnHostName() {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0)
    return {};
  return name.data();
}

// Where getifaddrs fails, no interface is known to be up.
std::vector<TIPv4> InterfaceAddresses() {
  ifaddrs* interfaces = nullptr;
  if (::getifaddrs(&interfaces) != 0)
    return LocalHostAddresses(nullptr);
  const std::unique_ptr<ifaddrs, TIfAddrsFree> list(interfaces);
  return LocalHostAddresses(list.get());
}

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

std::chrono::steady_clock::time_point Now() {
  return std::chrono::steady_clock::now();
}

}  // namespace orvo::ws2posix::machine
