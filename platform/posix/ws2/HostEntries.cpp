#include "platform/posix/ws2/HostEntries.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/ws2/ErrorCodes.h"
#include "platform/posix/ws2/HostResolver.h"

namespace orvo::ws2posix {

namespace {

// A list of texts kept alive for an entry, with the null-terminated pointer array WinSock hands
// out for aliases.
class TTextList {
 public:
  char** Assign(char** source) {
    FTexts.clear();
    for (; source != nullptr && *source != nullptr; ++source)
      FTexts.emplace_back(*source);
    FPointers.clear();
    for (std::string& text : FTexts)
      FPointers.push_back(text.data());
    FPointers.push_back(nullptr);
    return FPointers.data();
  }

 private:
  std::vector<std::string> FTexts;
  std::vector<char*> FPointers;
};

// The calling thread's host entry: name, no aliases, and the IPv4 addresses. The answer is
// filled in place, so that a resolved name reaches the entry without another copy.
class THostEntry {
 public:
  THostAnswer& Answer() { return FAnswer; }

  // The entry that shows the answer as it now stands.
  THostEnt* Publish() {
    FPointers.clear();
    for (auto& address : FAnswer.Addresses)
      FPointers.push_back(reinterpret_cast<char*>(address.data()));
    FPointers.push_back(nullptr);
    FEntry.h_name = FAnswer.Name.data();
    FEntry.h_aliases = FNoAliases.data();
    FEntry.h_addrtype = static_cast<std::int16_t>(ws2::WS_AF_INET);
    FEntry.h_length = 4;
    FEntry.h_addr_list = FPointers.data();
    return &FEntry;
  }

  THostEnt* Fill(const char* name, const std::vector<TIPv4>& addresses) {
    FAnswer.Name = name;
    FAnswer.Addresses = addresses;
    return Publish();
  }

 private:
  THostAnswer FAnswer;
  std::array<char*, 1> FNoAliases{};
  std::vector<char*> FPointers;
  THostEnt FEntry{};
};

class TServiceEntry {
 public:
  TServEnt* Fill(const servent& source) {
    FName = source.s_name != nullptr ? source.s_name : "";
    FProto = source.s_proto != nullptr ? source.s_proto : "";
    FEntry.s_name = FName.data();
    FEntry.s_aliases = FAliases.Assign(source.s_aliases);
    FEntry.s_port = static_cast<std::int16_t>(source.s_port);
    FEntry.s_proto = FProto.data();
    return &FEntry;
  }

 private:
  std::string FName;
  std::string FProto;
  TTextList FAliases;
  TServEnt FEntry{};
};

thread_local THostEntry tHostByName;
thread_local THostEntry tHostByAddr;
thread_local TServiceEntry tServByName;
thread_local TServiceEntry tServByPort;

// getservbyname_r and getservbyport_r want a scratch buffer that grows until it suffices.
template <typename Lookup>
TServEnt* LookUpService(TServiceEntry& entry, Lookup lookup) {
  std::vector<char> scratch(1024);
  servent result{};
  servent* found = nullptr;
  int error = 0;
  while ((error = lookup(&result, scratch.data(), scratch.size(), &found)) == ERANGE) {
    scratch.resize(scratch.size() * 2);
  }
  if (error != 0 || found == nullptr)
    return FailEntry<TServEnt>(ws2::WS_WSANO_DATA);
  return entry.Fill(*found);
}

}  // namespace

THostEnt* GetHostByAddr(const char* addr, std::int32_t len, std::int32_t type) noexcept {
  if (addr == nullptr || len < 4)
    return FailEntry<THostEnt>(ws2::WS_WSAEFAULT);
  if (type != ws2::WS_AF_INET)
    return FailEntry<THostEnt>(ws2::WS_WSAEAFNOSUPPORT);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  std::memcpy(&address.sin_addr, addr, 4);
  std::array<char, NI_MAXHOST> name{};
  const int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof(address),
                                   name.data(), name.size(), nullptr, 0, NI_NAMEREQD);
  if (result != 0)
    return FailEntry<THostEnt>(ResolverCodeOf(result));
  try {
    TIPv4 bytes{};
    std::memcpy(bytes.data(), addr, 4);
    return tHostByAddr.Fill(name.data(), {bytes});
  } catch (...) {
    return FailEntry<THostEnt>(ws2::WS_WSAENOBUFS);
  }
}

THostEnt* GetHostByName(const char* name) noexcept {
  try {
    // A missing name is the local host, as the empty one is.
    const std::string_view asked = name != nullptr ? name : "";
    const std::int32_t code = ProcessResolver().Resolve(asked, tHostByName.Answer());
    if (code != 0)
      return FailEntry<THostEnt>(code);
    return tHostByName.Publish();
  } catch (...) {
    return FailEntry<THostEnt>(ws2::WS_WSAENOBUFS);
  }
}

std::int32_t GetHostName(char* name, std::int32_t namelen) noexcept {
  if (name == nullptr || namelen <= 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (::gethostname(name, static_cast<size_t>(namelen)) != 0)
    return Fail(ws2::WS_WSAEFAULT);
  name[namelen - 1] = '\0';
  return 0;
}

TServEnt* GetServByPort(std::int32_t port, const char* proto) noexcept {
  try {
    return LookUpService(tServByPort, [&](servent* result, char* buf, size_t size, servent** out) {
      return ::getservbyport_r(port, proto, result, buf, size, out);
    });
  } catch (...) {
    return FailEntry<TServEnt>(ws2::WS_WSAENOBUFS);
  }
}

TServEnt* GetServByName(const char* name, const char* proto) noexcept {
  if (name == nullptr)
    return FailEntry<TServEnt>(ws2::WS_WSAEFAULT);
  try {
    return LookUpService(tServByName, [&](servent* result, char* buf, size_t size, servent** out) {
      return ::getservbyname_r(name, proto, result, buf, size, out);
    });
  } catch (...) {
    return FailEntry<TServEnt>(ws2::WS_WSAENOBUFS);
  }
}

}  // namespace orvo::ws2posix
