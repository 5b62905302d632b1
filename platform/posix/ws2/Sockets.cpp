#include "platform/posix/ws2/Sockets.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "platform/posix/ws2/ErrorCodes.h"

namespace orvo::ws2posix {

namespace {

sockaddr_in SystemRecordOf(const TSockAddrIn& record) noexcept {
  sockaddr_in converted{};
  converted.sin_family = AF_INET;
  converted.sin_port = record.sin_port;
  std::memcpy(&converted.sin_addr, record.sin_addr, sizeof(record.sin_addr));
  return converted;
}

}  // namespace

std::int32_t CloseSocket(TSocket s) noexcept {
  if (::close(s) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept {
  if (len < 0)
    return Fail(ws2::WS_WSAEFAULT);
  if (flags != 0)
    return Fail(ws2::WS_WSAEOPNOTSUPP);
  if (to == nullptr || tolen < static_cast<std::int32_t>(sizeof(TSockAddrIn)))
    return Fail(ws2::WS_WSAEFAULT);
  if (to->sin_family != ws2::WS_AF_INET)
    return Fail(ws2::WS_WSAEAFNOSUPPORT);
  const sockaddr_in record = SystemRecordOf(*to);
  const ssize_t sent = ::sendto(s, buf, static_cast<size_t>(len), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&record), sizeof record);
  if (sent < 0)
    return FailWithErrno();
  return static_cast<std::int32_t>(sent);
}

std::int32_t SetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, const char* optval,
                        std::int32_t optlen) noexcept {
  if (optval == nullptr || optlen < 4)
    return Fail(ws2::WS_WSAEFAULT);
  if (level != ws2::WS_SOL_SOCKET || optname != ws2::WS_SO_BROADCAST)
    return Fail(ws2::WS_WSAENOPROTOOPT);
  std::int32_t value = 0;
  std::memcpy(&value, optval, sizeof(value));
  const int posixValue = value;
  if (::setsockopt(s, SOL_SOCKET, SO_BROADCAST, &posixValue, sizeof(posixValue)) != 0)
    return FailWithErrno();
  return 0;
}

std::int32_t Shutdown(TSocket s, std::int32_t how) noexcept {
  if (how != ws2::WS_SD_SEND)
    return Fail(ws2::WS_WSAEINVAL);
  if (::shutdown(s, SHUT_WR) != 0)
    return FailWithErrno();
  return 0;
}

TSocket Socket(std::int32_t af, std::int32_t type, std::int32_t protocol) noexcept {
  if (af != ws2::WS_AF_INET)
    return Fail(ws2::WS_WSAEAFNOSUPPORT);
  if (type != ws2::WS_SOCK_DGRAM)
    return Fail(ws2::WS_WSAESOCKTNOSUPPORT);
  const int handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, protocol);
  if (handle < 0)
    return FailWithErrno();
  return handle;
}

}  // namespace orvo::ws2posix
