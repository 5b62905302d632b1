// The socket adapter's exports, under their WinSock names and with their WinSock types. This
// file sees no system header, so these names cannot clash with the platform's functions of the
// same names; the work is done in Ws2Posix.cpp.

#include <bit>
#include <cstring>

#include "platform/WinSock.h"
#include "platform/posix/ws2_32/Ws2Posix.h"

#define ORVO_WS2_EXPORT extern "C" __attribute__((visibility("default")))

using namespace orvo::ws2;
namespace impl = orvo::ws2posix;

namespace {

constexpr std::uint16_t kHighestVersion = 0x0202;

std::uint16_t SwapOnLittleEndian(std::uint16_t value) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::uint16_t>((value << 8) | (value >> 8));
  }
  return value;
}

std::uint32_t SwapOnLittleEndian(std::uint32_t value) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    return (value << 24) | ((value << 8) & 0x00FF0000U) | ((value >> 8) & 0x0000FF00U) |
           (value >> 24);
  }
  return value;
}

void CopyText(char* target, std::size_t size, const char* text) noexcept {
  std::strncpy(target, text, size - 1);
  target[size - 1] = '\0';
}

}  // namespace

// The POSIX sockets need no start-up: WSAStartup only checks the version (1.1 at least) and
// describes the adapter, and the clean-up calls have nothing to do.
ORVO_WS2_EXPORT std::int32_t WSAStartup(std::uint16_t version, TWSAData* data) {
  const unsigned major = version & 0xFFU;
  const unsigned minor = version >> 8;
  if (major < 1 || (major == 1 && minor < 1))
    return WS_WSAVERNOTSUPPORTED;
  if (data == nullptr)
    return WS_WSAEFAULT;
  *data = TWSAData{};
  data->wVersion = major > 2 || (major == 2 && minor > 2) ? kHighestVersion : version;
  data->wHighVersion = kHighestVersion;
  CopyText(data->szDescription, sizeof(data->szDescription),
           "orvologger socket adapter over POSIX sockets");
  CopyText(data->szSystemStatus, sizeof(data->szSystemStatus), "Running");
  return 0;
}

ORVO_WS2_EXPORT std::int32_t WSACleanup() {
  return 0;
}
ORVO_WS2_EXPORT std::int32_t WSACancelBlockingCall() {
  return 0;
}
ORVO_WS2_EXPORT std::int32_t WSAGetLastError() {
  return impl::GetLastError();
}
ORVO_WS2_EXPORT void WSASetLastError(std::int32_t error) {
  impl::SetLastError(error);
}

ORVO_WS2_EXPORT TSocket accept(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen) {
  return impl::Accept(s, addr, addrlen);
}

ORVO_WS2_EXPORT std::int32_t bind(TSocket s, const TSockAddrIn* addr, std::int32_t namelen) {
  return impl::Bind(s, addr, namelen);
}

ORVO_WS2_EXPORT std::int32_t closesocket(TSocket s) {
  return impl::CloseSocket(s);
}

ORVO_WS2_EXPORT std::int32_t connect(TSocket s, const TSockAddrIn* name, std::int32_t namelen) {
  return impl::Connect(s, name, namelen);
}

ORVO_WS2_EXPORT std::int32_t getpeername(TSocket s, TSockAddrIn* name, std::int32_t* namelen) {
  return impl::GetPeerName(s, name, namelen);
}

ORVO_WS2_EXPORT std::int32_t getsockname(TSocket s, TSockAddrIn* name, std::int32_t* namelen) {
  return impl::GetSockName(s, name, namelen);
}

ORVO_WS2_EXPORT std::int32_t getsockopt(TSocket s, std::int32_t level, std::int32_t optname,
                                        char* optval, std::int32_t* optlen) {
  return impl::GetSockOpt(s, level, optname, optval, optlen);
}

ORVO_WS2_EXPORT std::uint32_t htonl(std::uint32_t hostlong) {
  return SwapOnLittleEndian(hostlong);
}
ORVO_WS2_EXPORT std::uint16_t htons(std::uint16_t hostshort) {
  return SwapOnLittleEndian(hostshort);
}
ORVO_WS2_EXPORT std::uint32_t ntohl(std::uint32_t netlong) {
  return SwapOnLittleEndian(netlong);
}
ORVO_WS2_EXPORT std::uint16_t ntohs(std::uint16_t netshort) {
  return SwapOnLittleEndian(netshort);
}

ORVO_WS2_EXPORT std::uint32_t inet_addr(const char* cp) {
  return impl::InetAddr(cp);
}

ORVO_WS2_EXPORT std::int32_t listen(TSocket s, std::int32_t backlog) {
  return impl::Listen(s, backlog);
}

ORVO_WS2_EXPORT std::int32_t recv(TSocket s, char* buf, std::int32_t len, std::int32_t flags) {
  return impl::Recv(s, buf, len, flags);
}

ORVO_WS2_EXPORT std::int32_t recvfrom(TSocket s, char* buf, std::int32_t len, std::int32_t flags,
                                      TSockAddrIn* from, std::int32_t* fromlen) {
  return impl::RecvFrom(s, buf, len, flags, from, fromlen);
}

// The first argument exists for compatibility only and is ignored, as WinSock does.
ORVO_WS2_EXPORT std::int32_t select(std::int32_t, TFdSet* readfds, TFdSet* writefds,
                                    TFdSet* exceptfds, const TTimeVal* timeout) {
  return impl::Select(readfds, writefds, exceptfds, timeout);
}

ORVO_WS2_EXPORT std::int32_t send(TSocket s, const char* buf, std::int32_t len,
                                  std::int32_t flags) {
  return impl::Send(s, buf, len, flags);
}

ORVO_WS2_EXPORT std::int32_t sendto(TSocket s, const char* buf, std::int32_t len,
                                    std::int32_t flags, const TSockAddrIn* to, std::int32_t tolen) {
  return impl::SendTo(s, buf, len, flags, to, tolen);
}

ORVO_WS2_EXPORT std::int32_t setsockopt(TSocket s, std::int32_t level, std::int32_t optname,
                                        const char* optval, std::int32_t optlen) {
  return impl::SetSockOpt(s, level, optname, optval, optlen);
}

ORVO_WS2_EXPORT std::int32_t shutdown(TSocket s, std::int32_t how) {
  return impl::Shutdown(s, how);
}

ORVO_WS2_EXPORT TSocket socket(std::int32_t af, std::int32_t type, std::int32_t protocol) {
  return impl::Socket(af, type, protocol);
}

// The protocol description, group and flags have no POSIX counterpart; the socket is made as
// socket() makes it.
ORVO_WS2_EXPORT TSocket WSASocketA(std::int32_t af, std::int32_t type, std::int32_t protocol,
                                   TOpaque, std::uint32_t, std::uint32_t) {
  return impl::Socket(af, type, protocol);
}

ORVO_WS2_EXPORT THostEnt* gethostbyaddr(const char* addr, std::int32_t len, std::int32_t type) {
  return impl::GetHostByAddr(addr, len, type);
}

ORVO_WS2_EXPORT THostEnt* gethostbyname(const char* name) {
  return impl::GetHostByName(name);
}

ORVO_WS2_EXPORT std::int32_t gethostname(char* name, std::int32_t namelen) {
  return impl::GetHostName(name, namelen);
}

ORVO_WS2_EXPORT TServEnt* getservbyport(std::int32_t port, const char* proto) {
  return impl::GetServByPort(port, proto);
}

ORVO_WS2_EXPORT TServEnt* getservbyname(const char* name, const char* proto) {
  return impl::GetServByName(name, proto);
}
