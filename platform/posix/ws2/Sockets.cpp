#include "platform/posix/ws2/Sockets.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstring>

#include "platform/posix/ws2/AddressRecords.h"
#include "platform/posix/ws2/ErrorCodes.h"

namespace orvo::ws2posix {

namespace {

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

struct TOption {
  std::int32_t Level;
  std::int32_t Name;
  int PosixLevel;
  int PosixName;
};

// The options WinSock and the system both know, each under its own numbers. TCP_NODELAY is 1 on
// both sides.
constexpr TOption kOptions[] = {
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_DEBUG, SOL_SOCKET, SO_DEBUG},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_REUSEADDR, SOL_SOCKET, SO_REUSEADDR},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_KEEPALIVE, SOL_SOCKET, SO_KEEPALIVE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_DONTROUTE, SOL_SOCKET, SO_DONTROUTE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_BROADCAST, SOL_SOCKET, SO_BROADCAST},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_OOBINLINE, SOL_SOCKET, SO_OOBINLINE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_SNDBUF, SOL_SOCKET, SO_SNDBUF},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_RCVBUF, SOL_SOCKET, SO_RCVBUF},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_ERROR, SOL_SOCKET, SO_ERROR},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_TYPE, SOL_SOCKET, SO_TYPE},
    {ws2::WS_IPPROTO_TCP, ws2::WS_TCP_NODELAY, IPPROTO_TCP, 1},
};

bool PosixOption(std::int32_t level, std::int32_t name, int& posixLevel, int& posixName) noexcept {
  for (const TOption& option : kOptions) {
    if (option.Level == level && option.Name == name) {
      posixLevel = option.PosixLevel;
      posixName = option.PosixName;
      return true;
    }
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

}  // namespace

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
  sockaddr_in converted;
  if (!IsIPv4Record(addr, namelen))
    return ws2::WS_SOCKET_ERROR;
  if (::bind(s, SystemRecordOf(*addr, converted), sizeof(sockaddr_in)) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t CloseSocket(TSocket s) noexcept {
  if (::close(s) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t Connect(TSocket s, const TSockAddrIn* name, std::int32_t namelen) noexcept {
  sockaddr_in converted;
  if (!IsIPv4Record(name, namelen))
    return ws2::WS_SOCKET_ERROR;
  if (::connect(s, SystemRecordOf(*name, converted), sizeof(sockaddr_in)) != 0)
    return FailWithErrno();
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

}  // namespace orvo::ws2posix
