// The scripted socket library: see ScriptedWinSock.h.
#include "ScriptedWinSock.h"

#include <cstring>

namespace orvo::test {

namespace {

using namespace orvo::ws2;

TScriptedWinSock gScript;

THostEnt gEntry{};
char* gAddressList[5] = {};

void RecordClose(char step) {
  const std::size_t used = std::strlen(gScript.CloseOrder);
  if (used + 1 < sizeof(gScript.CloseOrder))
    gScript.CloseOrder[used] = step;
}

std::int32_t Startup(std::uint16_t, TWSAData*) {
  return gScript.StartupResult;
}

std::int32_t NothingToDo() {
  return 0;
}

std::int32_t LastError() {
  return gScript.LastError;
}

void SetLastError(std::int32_t error) {
  gScript.LastError = error;
}

std::uint16_t Swap(std::uint16_t value) {
  return static_cast<std::uint16_t>((value << 8) | (value >> 8));
}

TSocket Socket(std::int32_t, std::int32_t, std::int32_t) {
  ++gScript.SocketCalls;
  return gScript.SocketResult;
}

std::int32_t SetOption(TSocket, std::int32_t level, std::int32_t optname, const char* optval,
                       std::int32_t optlen) {
  ++gScript.SetOptionCalls;
  gScript.SetOptionLevel = level;
  gScript.SetOptionName = optname;
  gScript.SetOptionLength = optlen;
  std::memcpy(&gScript.SetOptionValue, optval, sizeof(gScript.SetOptionValue));
  return gScript.SetOptionResult;
}

std::int32_t SendTo(TSocket, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) {
  ++gScript.SendToCalls;
  gScript.SendToFlags = flags;
  gScript.SendToRecordLength = tolen;
  gScript.SendToBuffer = buf;
  std::memcpy(gScript.SendToRecord, to, sizeof(gScript.SendToRecord));
  if (gScript.SendToResult == -1)
    return WS_SOCKET_ERROR;
  return gScript.SendToResult == -2 ? len : gScript.SendToResult;
}

std::int32_t Shutdown(TSocket, std::int32_t how) {
  gScript.ShutdownHow = how;
  RecordClose('s');
  return 0;
}

std::int32_t CloseSocket(TSocket) {
  RecordClose('c');
  return 0;
}

std::int32_t HostName(char* name, std::int32_t namelen) {
  if (gScript.HostNameResult != 0)
    return WS_SOCKET_ERROR;
  std::strncpy(name, gScript.HostName, static_cast<std::size_t>(namelen));
  return 0;
}

THostEnt* HostByName(const char* name) {
  ++gScript.HostByNameCalls;
  std::strncpy(gScript.LastHostByName, name, sizeof(gScript.LastHostByName) - 1);
  if (gScript.HostAddressCount < 0)
    return nullptr;
  for (std::int32_t i = 0; i < 4; ++i) {
    gAddressList[i] =
        i < gScript.HostAddressCount ? reinterpret_cast<char*>(gScript.HostAddresses[i]) : nullptr;
  }
  gAddressList[4] = nullptr;
  gEntry.h_name = gScript.LastHostByName;
  gEntry.h_addrtype = 2;
  gEntry.h_length = 4;
  gEntry.h_addr_list = gAddressList;
  return &gEntry;
}

}  // namespace

TScriptedWinSock& Script() {
  return gScript;
}

platform::TLibraryHandle ScriptedLibrary() {
  using platform::ExportOf;
  static const platform::TExport exports[] = {
      ExportOf<TWSAStartup>("WSAStartup", &Startup),
      ExportOf<TWSACleanup>("WSACleanup", &NothingToDo),
      ExportOf<TWSACancelBlockingCall>("WSACancelBlockingCall", &NothingToDo),
      ExportOf<TWSAGetLastError>("WSAGetLastError", &LastError),
      ExportOf<TWSASetLastError>("WSASetLastError", &SetLastError),
      ExportOf<Thtons>("htons", &Swap),
      ExportOf<Tsocket>("socket", &Socket),
      ExportOf<Tsetsockopt>("setsockopt", &SetOption),
      ExportOf<Tsendto>("sendto", &SendTo),
      ExportOf<Tshutdown>("shutdown", &Shutdown),
      ExportOf<Tclosesocket>("closesocket", &CloseSocket),
      ExportOf<Tgethostname>("gethostname", &HostName),
      ExportOf<Tgethostbyname>("gethostbyname", &HostByName),
  };
  static const platform::TExportTable table(exports);
  return &table;
}

}  // namespace orvo::test
