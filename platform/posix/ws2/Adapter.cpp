#include "platform/posix/ws2/Adapter.h"

#include <cstring>

#include "platform/WinSock.h"
#include "platform/posix/ws2/AddressRecords.h"
#include "platform/posix/ws2/ErrorCodes.h"
#include "platform/posix/ws2/HostEntries.h"
#include "platform/posix/ws2/Sockets.h"

namespace orvo::ws2posix {

namespace {

using namespace orvo::ws2;

constexpr std::uint16_t kHighestVersion = 0x0202;

void CopyText(char* target, std::size_t size, const char* text) noexcept {
  std::strncpy(target, text, size - 1);
  target[size - 1] = '\0';
}

// The POSIX sockets need no start-up: WSAStartup only checks the version (1.1 at least) and
// describes the adapter, and the clean-up calls have nothing to do.
std::int32_t Startup(std::uint16_t version, TWSAData* data) noexcept {
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

std::int32_t NothingToDo() noexcept {
  return 0;
}

std::uint16_t SwapShort(std::uint16_t value) noexcept {
  return SwapToNetwork(value);
}

std::uint32_t SwapLong(std::uint32_t value) noexcept {
  return SwapToNetwork(value);
}

// The first argument exists for compatibility only and is ignored, as WinSock does.
std::int32_t SelectOf(std::int32_t, TFdSet* readfds, TFdSet* writefds, TFdSet* exceptfds,
                      const TTimeVal* timeout) noexcept {
  return Select(readfds, writefds, exceptfds, timeout);
}

// The protocol description, group and flags have no POSIX counterpart; the socket is made as
// socket() makes it.
TSocket SocketWithOptions(std::int32_t af, std::int32_t type, std::int32_t protocol, TOpaque,
                          std::uint32_t, std::uint32_t) noexcept {
  return Socket(af, type, protocol);
}

}  // namespace

const platform::TExportTable& AdapterExports() noexcept {
  using platform::ExportOf;
  static const platform::TExport exports[] = {
      ExportOf<TWSAStartup>("WSAStartup", &Startup),
      ExportOf<TWSACleanup>("WSACleanup", &NothingToDo),
      ExportOf<TWSACancelBlockingCall>("WSACancelBlockingCall", &NothingToDo),
      ExportOf<TWSAGetLastError>("WSAGetLastError", &LastError),
      ExportOf<TWSASetLastError>("WSASetLastError", &SetLastError),
      ExportOf<Taccept>("accept", &Accept),
      ExportOf<Tbind>("bind", &Bind),
      ExportOf<Tclosesocket>("closesocket", &CloseSocket),
      ExportOf<Tconnect>("connect", &Connect),
      ExportOf<Tgetpeername>("getpeername", &GetPeerName),
      ExportOf<Tgetsockname>("getsockname", &GetSockName),
      ExportOf<Tgetsockopt>("getsockopt", &GetSockOpt),
      ExportOf<Thtonl>("htonl", &SwapLong),
      ExportOf<Thtons>("htons", &SwapShort),
      ExportOf<Tntohl>("ntohl", &SwapLong),
      ExportOf<Tntohs>("ntohs", &SwapShort),
      ExportOf<Tinet_addr>("inet_addr", &InetAddr),
      ExportOf<Tlisten>("listen", &Listen),
      ExportOf<Trecv>("recv", &Recv),
      ExportOf<Trecvfrom>("recvfrom", &RecvFrom),
      ExportOf<Tselect>("select", &SelectOf),
      ExportOf<Tsend>("send", &Send),
      ExportOf<Tsendto>("sendto", &SendTo),
      ExportOf<Tsetsockopt>("setsockopt", &SetSockOpt),
      ExportOf<Tshutdown>("shutdown", &Shutdown),
      ExportOf<Tsocket>("socket", &Socket),
      ExportOf<TWSASocket>("WSASocketA", &SocketWithOptions),
      ExportOf<Tgethostbyaddr>("gethostbyaddr", &GetHostByAddr),
      ExportOf<Tgethostbyname>("gethostbyname", &GetHostByName),
      ExportOf<Tgethostname>("gethostname", &GetHostName),
      ExportOf<Tgetservbyport>("getservbyport", &GetServByPort),
      ExportOf<Tgetservbyname>("getservbyname", &GetServByName),
  };
  static const platform::TExportTable table(exports);
  return table;
}

}  // namespace orvo::ws2posix
