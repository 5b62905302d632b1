#include "platform/posix/ws2/Adapter.h"

#include <arpa/inet.h>

#include "platform/WinSock.h"
#include "platform/posix/ws2/ErrorCodes.h"
#include "platform/posix/ws2/HostEntries.h"
#include "platform/posix/ws2/Sockets.h"

namespace orvo::ws2posix {

namespace {

using namespace orvo::ws2;

// POSIX sockets need no start-up and the stack reads nothing of the record.
std::int32_t Startup(std::uint16_t, TWSAData*) noexcept {
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
