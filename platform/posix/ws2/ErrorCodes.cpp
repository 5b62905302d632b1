#include "platform/posix/ws2/ErrorCodes.h"

#include <netdb.h>

#include <cerrno>

#include "platform/WinSock.h"

namespace orvo::ws2posix {

namespace {

thread_local std::int32_t tLastError = 0;

struct TErrnoCode {
  int Errno;
  std::int32_t Code;
};

// Sending after the sending side was shut down is EPIPE here and WSAESHUTDOWN there.
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

}  // namespace

std::int32_t WinSockCodeOf(int error) noexcept {
  for (const TErrnoCode& entry : kErrnoCodes) {
    if (entry.Errno == error)
      return entry.Code;
  }
  return ws2::WS_WSASYSCALLFAILURE;
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

std::int32_t LastError() noexcept {
  return tLastError;
}

std::int32_t Fail(std::int32_t code) noexcept {
  tLastError = code;
  return ws2::WS_SOCKET_ERROR;
}

std::int32_t FailWithErrno() noexcept {
  return Fail(WinSockCodeOf(errno));
}

}  // namespace orvo::ws2posix
