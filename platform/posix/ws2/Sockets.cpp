#include "platform/posix/ws2/Sockets.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include "platform/posix/ws2/ErrorCodes.h"

namespace orvo::ws2posix {

namespace {

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

struct TOption {
  std::int32_t Level;
  std::int32_t Name;
  int PosixLevel;
  int PosixName;
};

// TCP_NODELAY is 1 on both sides.
constexpr TOption kOptions[] = {
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_DEBUG, SOL_SOCKET, SO_DEBUG},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_REUSEADDR, SOL_SOCKET, SO_REUSEADDR},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_KEEPALIVE, SOL_SOCKET, SO_KEEPALIVE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_DONTROUTE, SOL_SOCKET, SO_DONTROUTE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_BROADCAST, SOL_SOCKET, SO_BROADCAST},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_OOBINLINE, SOL_SOCKET, SO_OOBINLINE},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_SNDBUF, SOL_SOCKET, SO_SNDBUF},
    {ws2::WS_SOL_SOCKET, ws2::WS_SO_RCVBUF, SOL_SOCKET, SO_RCVBUF},
    {ws2::WS_IPPROTO_TCP, ws2::WS_TCP_NODELAY, IPPROTO_TCP, 1},
};

const TOption* PosixOption(std::int32_t level, std::int32_t name) noexcept {
  for (const TOption& option : kOptions) {
    if (option.Level == level && option.Name == name)
      return &option;
  }
  return nullptr;
}

// WinSock's send flags, MSG_OOB and MSG_DONTROUTE; false for any other.
bool PosixSendFlags(std::int32_t flags, int& posix) noexcept {
  if ((flags & ~(ws2::WS_MSG_OOB | ws2::WS_MSG_DONTROUTE)) != 0)
    return false;
  posix = MSG_NOSIGNAL | ((flags & ws2::WS_MSG_OOB) != 0 ? MSG_OOB : 0) |
          ((flags & ws2::WS_MSG_DONTROUTE) != 0 ? MSG_DONTROUTE : 0);
  return true;
}

// Where the system lays its record out as WinSock does (the trailing zeros are not read), a
// WinSock record is handed over without a copy.
constexpr bool kSameIPv4Record =
    sizeof(sockaddr_in) == sizeof(TSockAddrIn) && AF_INET == ws2::WS_AF_INET &&
    sizeof(sa_family_t) == sizeof(TSockAddrIn::sin_family) &&
    offsetof(sockaddr_in, sin_family) == offsetof(TSockAddrIn, sin_family) &&
    offsetof(sockaddr_in, sin_port) == offsetof(TSockAddrIn, sin_port) &&
    offsetof(sockaddr_in, sin_addr) == offsetof(TSockAddrIn, sin_addr);

const sockaddr* SystemRecordOf(const TSockAddrIn& record, sockaddr_in& converted) noexcept {
  if constexpr (kSameIPv4Record)
    return reinterpret_cast<const sockaddr*>(&record);
  converted = sockaddr_in{};
  converted.sin_family = AF_INET;
  converted.sin_port = record.sin_port;
  std::memcpy(&converted.sin_addr, record.sin_addr, sizeof(record.sin_addr));
  return reinterpret_cast<const sockaddr*>(&converted);
}

}  // namespace

std::int32_t CloseSocket(TSocket s) noexcept {
  if (::close(s) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept {
  int posixFlags = 0;
  if (len < 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (!PosixSendFlags(flags, posixFlags))
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  if (to == nullptr || tolen < static_cast<std::int32_t>(sizeof(TSockAddrIn)))
    return Fail(ws2::WS_WSAEFAULT);
  if (to->sin_family != ws2::WS_AF_INET)
    return Fail(ws2::WS_WSAEAFNOSUPPORT);
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
  const TOption* option = PosixOption(level, optname);
  if (option == nullptr)
    return Fail(ws2::WS_WSAENOPROTOOPT);
  std::int32_t value = 0;
  std::memcpy(&value, optval, sizeof(value));
  const int posixValue = value;
  if (::setsockopt(s, option->PosixLevel, option->PosixName, &posixValue, sizeof(posixValue)) != 0)
    return FailWithErrno();
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
