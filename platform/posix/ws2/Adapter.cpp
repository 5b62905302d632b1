#include "platform/posix/ws2/Adapter.h"

#include <arpa/inet.h>

#include <cstring>

#include "platform/WinSock.h"
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

// POSIX sockets need no start-up: only the version is checked (1.1 at least).
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

// htons may be a macro, whose address can't be taken.
std::uint16_t HostToNetworkShort(std::uint16_t value) noexcept {
  return htons(value);
}

}  // namespace

const platform::TExportTable& AdapterExports() noexcept {
  using platform::ExportOf;
  static const platform::TExport exports[] = {
      ExportOf<TWSAStartup>("WSAStartup", &Startup),
      ExportOf<TWSACleanup>("WSACleanup", &NothingToDo),
      ExportOf<TWSACancelBlockingCall>("WSACancelBlockingCall", &NothingToDo),
      ExportOf<TWSAGetLastError>("WSAGetLastError", &LastError),
      ExportOf<Tgethostname>("gethostname", &GetHostName),
      ExportOf<Tgethostbyname>("gethostbyname", &GetHostByName),
      ExportOf<Tsocket>("socket", &Socket),
      ExportOf<Tsetsockopt>("setsockopt", &SetSockOpt),
      ExportOf<Thtons>("htons", &HostToNetworkShort),
      ExportOf<Tsendto>("sendto", &SendTo),
      ExportOf<Tshutdown>("shutdown", &Shutdown),
      ExportOf<Tclosesocket>("closesocket", &CloseSocket),
  };
  static const platform::TExportTable table(exports);
  return table;
}

}  // namespace orvo::ws2posix
