#include "platform/posix/ws2_32/Ws2Posix.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/ws2_32/HostResolver.h"

namespace orvo::ws2posix {

namespace {

// Each thread has its own last error, as WSAGetLastError promises.
thread_local std::int32_t tLastError = 0;

struct TErrnoCode {
  int Errno;
  std::int32_t Code;
};

// Native error numbers and their WinSock counterparts. Sending after the sending side was shut
// down is EPIPE here and WS_WSAESHUTDOWN there.
constexpr TErrnoCode kErrnoCodes[] = {
    {EINTR, ws2::WS_WSAEINTR},
    {EBADF, ws2::WS_WSAEBADF},
    {EACCES, ws2::WS_WSAEACCES},
    {EPERM, ws2::WS_WSAEACCES},
    {EFAULT, ws2::WS_WSAEFAULT},
    {EINVAL, ws2::WS_WSAEINVAL},
    {EMFILE, ws2::WS_WSAEMFILE},
    {ENFILE, ws2::WS_WSAEMFILE},
    {EAGAIN, ws2::WS_WSAEWOULDBLOCK},
    {EINPROGRESS, ws2::WS_WSAEINPROGRESS},
    {EALREADY, ws2::WS_WSAEALREADY},
    {ENOTSOCK, ws2::WS_WSAENOTSOCK},
    {EDESTADDRREQ, ws2::WS_WSAEDESTADDRREQ},
    {EMSGSIZE, ws2::WS_WSAEMSGSIZE},
    {EPROTOTYPE, ws2::WS_WSAEPROTOTYPE},
    {ENOPROTOOPT, ws2::WS_WSAENOPROTOOPT},
    {EPROTONOSUPPORT, ws2::WS_WSAEPROTONOSUPPORT},
    {ESOCKTNOSUPPORT, ws2::WS_WSAESOCKTNOSUPPORT},
    {EOPNOTSUPP, ws2::WS_WSAEOPNOTSUPP},
    {EPFNOSUPPORT, ws2::WS_WSAEPFNOSUPPORT},
    {EAFNOSUPPORT, ws2::WS_WSAEAFNOSUPPORT},
    {EADDRINUSE, ws2::WS_WSAEADDRINUSE},
    {EADDRNOTAVAIL, ws2::WS_WSAEADDRNOTAVAIL},
    {ENETDOWN, ws2::WS_WSAENETDOWN},
    {ENETUNREACH, ws2::WS_WSAENETUNREACH},
    {ENETRESET, ws2::WS_WSAENETRESET},
    {ECONNABORTED, ws2::WS_WSAECONNABORTED},
    {ECONNRESET, ws2::WS_WSAECONNRESET},
    {ENOBUFS, ws2::WS_WSAENOBUFS},
    {ENOMEM, ws2::WS_WSAENOBUFS},
    {EISCONN, ws2::WS_WSAEISCONN},
    {ENOTCONN, ws2::WS_WSAENOTCONN},
    {ESHUTDOWN, ws2::WS_WSAESHUTDOWN},
    {EPIPE, ws2::WS_WSAESHUTDOWN},
    {ETOOMANYREFS, ws2::WS_WSAETOOMANYREFS},
    {ETIMEDOUT, ws2::WS_WSAETIMEDOUT},
    {ECONNREFUSED, ws2::WS_WSAECONNREFUSED},
    {ELOOP, ws2::WS_WSAELOOP},
    {ENAMETOOLONG, ws2::WS_WSAENAMETOOLONG},
    {EHOSTDOWN, ws2::WS_WSAEHOSTDOWN},
    {EHOSTUNREACH, ws2::WS_WSAEHOSTUNREACH},
    {ENOTEMPTY, ws2::WS_WSAENOTEMPTY},
};

std::int32_t WinSockCodeOf(int error) noexcept {
  for (const TErrnoCode& entry : kErrnoCodes) {
    if (entry.Errno == error)
      return entry.Code;
  }
  return ws2::WS_WSASYSCALLFAILURE;  // a system failure WinSock has no number for
}

std::int32_t ResolverCodeOf(int result) noexcept {
  switch (result) {
    case EAI_NONAME:
      return ws2::WS_WSAHOST_NOT_FOUND;
    case EAI_AGAIN:
      return ws2::WS_WSATRY_AGAIN;
    case EAI_NODATA:
    case EAI_ADDRFAMILY:
      return ws2::WS_WSANO_DATA;
    case EAI_MEMORY:
      return ws2::WS_WSAENOBUFS;
    case EAI_SYSTEM:
      return WinSockCodeOf(errno);
    default:
      return ws2::WS_WSANO_RECOVERY;
  }
}

std::int32_t Fail(std::int32_t code) noexcept {
  tLastError = code;
  return ws2::WS_SOCKET_ERROR;
}

std::int32_t FailWithErrno() noexcept {
  return Fail(WinSockCodeOf(errno));
}

template <typename T>
T* FailEntry(std::int32_t code) noexcept {
  tLastError = code;
  return nullptr;
}

// A record WinSock would take: room for 16 bytes, of the IPv4 family. Sets the WinSock code of
// what is wrong otherwise.
bool IsIPv4Record(const TSockAddrIn* record, std::int32_t length) noexcept {
  if (record == nullptr || length < static_cast<std::int32_t>(sizeof(TSockAddrIn))) {
    Fail(ws2::WS_WSAEFAULT);
    return false;
  }
  if (record->sin_family != ws2::WS_AF_INET) {
    Fail(ws2::WS_WSAEAFNOSUPPORT);
    return false;
  }
  return true;
}

void CopyIPv4Record(const TSockAddrIn& from, sockaddr_in& to) noexcept {
  to = sockaddr_in{};
  to.sin_family = AF_INET;
  to.sin_port = from.sin_port;
  std::memcpy(&to.sin_addr, from.sin_addr, sizeof(from.sin_addr));
}

bool ToPosixAddress(const TSockAddrIn* from, std::int32_t length, sockaddr_in& to) noexcept {
  if (!IsIPv4Record(from, length))
    return false;
  CopyIPv4Record(*from, to);
  return true;
}

// Where the system lays its IPv4 record out as WinSock does (family, port and address at the
// same places and sizes, the family numbered alike; the trailing zeros are not read), a checked
// WinSock record is the system's record too and is handed over without a copy.
constexpr bool kSameIPv4Record =
    sizeof(sockaddr_in) == sizeof(TSockAddrIn) && AF_INET == ws2::WS_AF_INET &&
    sizeof(sa_family_t) == sizeof(TSockAddrIn::sin_family) &&
    offsetof(sockaddr_in, sin_family) == offsetof(TSockAddrIn, sin_family) &&
    offsetof(sockaddr_in, sin_port) == offsetof(TSockAddrIn, sin_port) &&
    offsetof(sockaddr_in, sin_addr) == offsetof(TSockAddrIn, sin_addr);

// The checked WinSock record as the system takes it: itself, or its copy in `converted`.
const sockaddr* SystemRecordOf(const TSockAddrIn& record, sockaddr_in& converted) noexcept {
  if constexpr (kSameIPv4Record) {
    return reinterpret_cast<const sockaddr*>(&record);
  }
  CopyIPv4Record(record, converted);
  return reinterpret_cast<const sockaddr*>(&converted);
}

void ToWinSockAddress(const sockaddr_in& from, TSockAddrIn* to, std::int32_t* length) noexcept {
  if (to == nullptr || length == nullptr)
    return;
  *to = TSockAddrIn{};
  to->sin_family = static_cast<std::uint16_t>(ws2::WS_AF_INET);
  to->sin_port = from.sin_port;
  std::memcpy(to->sin_addr, &from.sin_addr, sizeof(to->sin_addr));
  *length = sizeof(TSockAddrIn);
}

// A record pointer given without room for 16 bytes is WinSock's WS_WSAEFAULT.
bool RoomForAddress(const TSockAddrIn* addr, const std::int32_t* length) noexcept {
  return addr == nullptr ||
         (length != nullptr && *length >= static_cast<std::int32_t>(sizeof(TSockAddrIn)));
}

// getpeername or getsockname, answered in a WinSock record.
std::int32_t ReadSocketName(int (*query)(int, sockaddr*, socklen_t*), TSocket s, TSockAddrIn* name,
                            std::int32_t* namelen) noexcept {
  if (name == nullptr || !RoomForAddress(name, namelen))
    return Fail(ws2::WS_WSAEFAULT);
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  if (query(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return FailWithErrno();
  ToWinSockAddress(address, name, namelen);
  return 0;
}

int PosixSocketType(std::int32_t type) noexcept {
  switch (type) {
    case ws2::WS_SOCK_STREAM:
      return SOCK_STREAM;
    case ws2::WS_SOCK_DGRAM:
      return SOCK_DGRAM;
    case 3:
      return SOCK_RAW;
    default:
      return -1;
  }
}

// The system's message flags for each combination of WinSock's three, read by index. Every send
// carries MSG_NOSIGNAL: the adapter never lets a send raise SIGPIPE.
constexpr std::int32_t kKnownFlags = ws2::WS_MSG_OOB | ws2::WS_MSG_PEEK | ws2::WS_MSG_DONTROUTE;
constexpr std::array<int, kKnownFlags + 1> kPosixFlags = [] {
  std::array<int, kKnownFlags + 1> table{};
  for (std::int32_t flags = 0; flags <= kKnownFlags; ++flags) {
    table[flags] = MSG_NOSIGNAL | ((flags & ws2::WS_MSG_OOB) != 0 ? MSG_OOB : 0) |
                   ((flags & ws2::WS_MSG_PEEK) != 0 ? MSG_PEEK : 0) |
                   ((flags & ws2::WS_MSG_DONTROUTE) != 0 ? MSG_DONTROUTE : 0);
  }
  return table;
}();

bool PosixFlags(std::int32_t flags, int& posix) noexcept {
  if ((flags & ~kKnownFlags) != 0)
    return false;
  posix = kPosixFlags[static_cast<std::size_t>(flags)];
  return true;
}

bool PosixOption(std::int32_t level, std::int32_t name, int& posixLevel, int& posixName) noexcept {
  if (level == ws2::WS_SOL_SOCKET) {
    posixLevel = SOL_SOCKET;
    switch (name) {
      case ws2::WS_SO_DEBUG:
        posixName = SO_DEBUG;
        return true;
      case ws2::WS_SO_REUSEADDR:
        posixName = SO_REUSEADDR;
        return true;
      case ws2::WS_SO_KEEPALIVE:
        posixName = SO_KEEPALIVE;
        return true;
      case ws2::WS_SO_DONTROUTE:
        posixName = SO_DONTROUTE;
        return true;
      case ws2::WS_SO_BROADCAST:
        posixName = SO_BROADCAST;
        return true;
      case ws2::WS_SO_OOBINLINE:
        posixName = SO_OOBINLINE;
        return true;
      case ws2::WS_SO_SNDBUF:
        posixName = SO_SNDBUF;
        return true;
      case ws2::WS_SO_RCVBUF:
        posixName = SO_RCVBUF;
        return true;
      case ws2::WS_SO_ERROR:
        posixName = SO_ERROR;
        return true;
      case ws2::WS_SO_TYPE:
        posixName = SO_TYPE;
        return true;
      default:
        return false;
    }
  }
  if (level == ws2::WS_IPPROTO_TCP && name == ws2::WS_TCP_NODELAY) {
    posixLevel = IPPROTO_TCP;
    posixName = 1;  // TCP_NODELAY has the same number on both sides
    return true;
  }
  return false;
}

std::int32_t WinSockSocketType(int type) noexcept {
  switch (type) {
    case SOCK_STREAM:
      return ws2::WS_SOCK_STREAM;
    case SOCK_DGRAM:
      return ws2::WS_SOCK_DGRAM;
    default:
      return 3;
  }
}

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

// One resolver and its cache for the whole process, as the system keeps one for every program.
THostResolver& ProcessResolver() {
  static TMachine machine;
  static THostResolver resolver(machine);
  return resolver;
}

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

std::int32_t GetLastError() noexcept {
  return tLastError;
}

void SetLastError(std::int32_t code) noexcept {
  tLastError = code;
}

TSocket Accept(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen) noexcept {
  if (!RoomForAddress(addr, addrlen))
    return Fail(ws2::WS_WSAEFAULT);
  sockaddr_in peer{};
  socklen_t length = sizeof(peer);
  const int accepted = ::accept4(s, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
  if (accepted < 0)
    return FailWithErrno();
  ToWinSockAddress(peer, addr, addrlen);
  return accepted;
}

std::int32_t Bind(TSocket s, const TSockAddrIn* addr, std::int32_t namelen) noexcept {
  sockaddr_in local{};
  if (!ToPosixAddress(addr, namelen, local))
    return ws2::WS_SOCKET_ERROR;
  if (::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0) {
    return FailWithErrno();
  }
  return 0;
}

std::int32_t CloseSocket(TSocket s) noexcept {
  if (::close(s) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t Connect(TSocket s, const TSockAddrIn* name, std::int32_t namelen) noexcept {
  sockaddr_in remote{};
  if (!ToPosixAddress(name, namelen, remote))
    return ws2::WS_SOCKET_ERROR;
  if (::connect(s, reinterpret_cast<const sockaddr*>(&remote), sizeof(remote)) != 0) {
    return FailWithErrno();
  }
  return 0;
}

std::int32_t GetPeerName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept {
  return ReadSocketName(::getpeername, s, name, namelen);
}

std::int32_t GetSockName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept {
  return ReadSocketName(::getsockname, s, name, namelen);
}

std::int32_t GetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, char* optval,
                        std::int32_t* optlen) noexcept {
  if (optval == nullptr || optlen == nullptr || *optlen < 4)
    return Fail(ws2::WS_WSAEFAULT);
  int posixLevel = 0;
  int posixName = 0;
  if (!PosixOption(level, optname, posixLevel, posixName))
    return Fail(ws2::WS_WSAENOPROTOOPT);
  int value = 0;
  socklen_t length = sizeof(value);
  if (::getsockopt(s, posixLevel, posixName, &value, &length) != 0)
    return FailWithErrno();
  if (posixLevel == SOL_SOCKET && posixName == SO_ERROR && value != 0)
    value = WinSockCodeOf(value);
  if (posixLevel == SOL_SOCKET && posixName == SO_TYPE)
    value = WinSockSocketType(value);
  const std::int32_t result = value;
  std::memcpy(optval, &result, sizeof(result));
  *optlen = sizeof(result);
  return 0;
}

std::uint32_t InetAddr(const char* cp) noexcept {
  if (cp == nullptr)
    return ws2::WS_INADDR_NONE;
  return ::inet_addr(cp);
}

std::int32_t Listen(TSocket s, std::int32_t backlog) noexcept {
  if (::listen(s, backlog) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t Recv(TSocket s, char* buf, std::int32_t len, std::int32_t flags) noexcept {
  int posixFlags = 0;
  if (len < 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (!PosixFlags(flags, posixFlags))
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  const ssize_t received = ::recv(s, buf, static_cast<size_t>(len), posixFlags);
  if (received < 0)
    return FailWithErrno();
  return static_cast<std::int32_t>(received);
}

std::int32_t RecvFrom(TSocket s, char* buf, std::int32_t len, std::int32_t flags, TSockAddrIn* from,
                      std::int32_t* fromlen) noexcept {
  int posixFlags = 0;
  if (len < 0 || !RoomForAddress(from, fromlen))
    return Fail(ws2::WS_WSAEFAULT);
  if (!PosixFlags(flags, posixFlags))
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  sockaddr_in sender{};
  socklen_t length = sizeof(sender);
  const ssize_t received = ::recvfrom(s, buf, static_cast<size_t>(len), posixFlags,
                                      reinterpret_cast<sockaddr*>(&sender), &length);
  if (received < 0)
    return FailWithErrno();
  ToWinSockAddress(sender, from, fromlen);
  return static_cast<std::int32_t>(received);
}

std::int32_t Select(TFdSet* readfds, TFdSet* writefds, TFdSet* exceptfds,
                    const TTimeVal* timeout) noexcept {
  struct TWatch {
    TFdSet* Set;
    short Events;
    short Ready;
  };
  const std::array<TWatch, 3> watches{{{readfds, POLLIN, POLLIN | POLLHUP | POLLERR},
                                       {writefds, POLLOUT, POLLOUT | POLLHUP | POLLERR},
                                       {exceptfds, POLLPRI, POLLPRI}}};
  std::array<pollfd, 3 * ws2::WS_FD_SETSIZE> polled{};
  std::size_t count = 0;
  for (const TWatch& watch : watches) {
    if (watch.Set == nullptr)
      continue;
    if (watch.Set->fd_count > ws2::WS_FD_SETSIZE)
      return Fail(ws2::WS_WSAEINVAL);
    for (std::uint32_t i = 0; i < watch.Set->fd_count; ++i) {
      polled[count++] = pollfd{watch.Set->fd_array[i], watch.Events, 0};
    }
  }
  if (count == 0)
    return Fail(ws2::WS_WSAEINVAL);  // WinSock refuses three empty sets
  int waitMs = -1;
  if (timeout != nullptr) {
    if (timeout->tv_sec < 0 || timeout->tv_usec < 0)
      return Fail(ws2::WS_WSAEINVAL);
    const long long ms = static_cast<long long>(timeout->tv_sec) * 1000 + timeout->tv_usec / 1000;
    waitMs = ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
  }
  const int polledCount = ::poll(polled.data(), count, waitMs);
  if (polledCount < 0)
    return FailWithErrno();
  std::int32_t ready = 0;
  std::size_t next = 0;
  for (const TWatch& watch : watches) {
    if (watch.Set == nullptr)
      continue;
    const std::uint32_t given = watch.Set->fd_count;
    watch.Set->fd_count = 0;
    for (std::uint32_t i = 0; i < given; ++i) {
      const pollfd& entry = polled[next++];
      if ((entry.revents & POLLNVAL) != 0)
        return Fail(ws2::WS_WSAENOTSOCK);
      if ((entry.revents & watch.Ready) != 0) {
        watch.Set->fd_array[watch.Set->fd_count++] = entry.fd;
        ++ready;
      }
    }
  }
  return ready;
}

std::int32_t Send(TSocket s, const char* buf, std::int32_t len, std::int32_t flags) noexcept {
  int posixFlags = 0;
  if (len < 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (!PosixFlags(flags, posixFlags))
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  const ssize_t sent = ::send(s, buf, static_cast<size_t>(len), posixFlags);
  if (sent < 0)
    return FailWithErrno();
  return static_cast<std::int32_t>(sent);
}

std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept {
  int posixFlags = 0;
  if (len < 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (!PosixFlags(flags, posixFlags))
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  if (to == nullptr)
    return Send(s, buf, len, flags);
  if (!IsIPv4Record(to, tolen))
    return ws2::WS_SOCKET_ERROR;
  sockaddr_in converted;
  const ssize_t sent = ::sendto(s, buf, static_cast<size_t>(len), posixFlags,
                                SystemRecordOf(*to, converted), sizeof(sockaddr_in));
  if (sent < 0)
    return FailWithErrno();
  return static_cast<std::int32_t>(sent);
}

std::int32_t SetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, const char* optval,
                        std::int32_t optlen) noexcept {
  if (optval == nullptr || optlen < 4)
    return Fail(ws2::WS_WSAEFAULT);
  int posixLevel = 0;
  int posixName = 0;
  if (!PosixOption(level, optname, posixLevel, posixName))
    return Fail(ws2::WS_WSAENOPROTOOPT);
  std::int32_t value = 0;
  std::memcpy(&value, optval, sizeof(value));
  const int posixValue = value;
  if (::setsockopt(s, posixLevel, posixName, &posixValue, sizeof(posixValue)) != 0) {
    return FailWithErrno();
  }
  return 0;
}

std::int32_t Shutdown(TSocket s, std::int32_t how) noexcept {
  int direction = 0;
  switch (how) {
    case ws2::WS_SD_RECEIVE:
      direction = SHUT_RD;
      break;
    case ws2::WS_SD_SEND:
      direction = SHUT_WR;
      break;
    case ws2::WS_SD_BOTH:
      direction = SHUT_RDWR;
      break;
    default:
      return Fail(ws2::WS_WSAEINVAL);
  }
  if (::shutdown(s, direction) != 0)
    return FailWithErrno();
  return 0;
}

TSocket Socket(std::int32_t af, std::int32_t type, std::int32_t protocol) noexcept {
  if (af != ws2::WS_AF_INET)
    return Fail(ws2::WS_WSAEAFNOSUPPORT);
  const int posixType = PosixSocketType(type);
  if (posixType < 0)
    return Fail(ws2::WS_WSAESOCKTNOSUPPORT);
  const int handle = ::socket(AF_INET, posixType | SOCK_CLOEXEC, protocol);
  if (handle < 0)
    return FailWithErrno();
  return handle;
}

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
