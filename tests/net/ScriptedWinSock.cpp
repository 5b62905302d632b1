// The scripted socket library: see ScriptedWinSock.h.
#include "ScriptedWinSock.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

namespace orvo::test {

namespace {

using namespace orvo::ws2;

TScriptedWinSock gScript;

THostEnt gEntry{};
char* gAddressList[5] = {};
char* gNoAliases[1] = {};
TServEnt gService{};
char* gServiceAliases[3] = {};

void RecordClose(char step) {
  const std::size_t used = std::strlen(gScript.CloseOrder);
  if (used + 1 < sizeof(gScript.CloseOrder))
    gScript.CloseOrder[used] = step;
}

void RecordText(const char* text) {
  std::strncpy(gScript.LastText, text, sizeof(gScript.LastText) - 1);
}

std::int32_t Answer(TSocket s, std::int32_t length) {
  gScript.Socket = s;
  gScript.Length = length;
  return gScript.Result;
}

std::int32_t TellPeer(TSockAddrIn* record, std::int32_t* length) {
  *record = gScript.Peer;
  *length = sizeof(TSockAddrIn);
  return gScript.Result;
}

// The system's byte order calls may be macros, whose addresses can't be taken.
std::uint32_t ToNetworkLong(std::uint32_t value) {
  return htonl(value);
}

std::uint32_t FromNetworkLong(std::uint32_t value) {
  return ntohl(value);
}

std::uint16_t ToNetworkShort(std::uint16_t value) {
  return htons(value);
}

std::uint16_t FromNetworkShort(std::uint16_t value) {
  return ntohs(value);
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

std::int32_t GetOption(TSocket s, std::int32_t level, std::int32_t optname, char* optval,
                       std::int32_t* optlen) {
  gScript.Level = level;
  gScript.Name = optname;
  std::memcpy(optval, &gScript.OptionValue, sizeof(gScript.OptionValue));
  const std::int32_t given = *optlen;
  *optlen = sizeof(gScript.OptionValue);
  return Answer(s, given);
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

std::int32_t BindOrConnect(TSocket s, const TSockAddrIn* addr, std::int32_t namelen) {
  gScript.Record = *addr;
  gScript.RecordLength = namelen;
  return Answer(s, namelen);
}

std::int32_t Listen(TSocket s, std::int32_t backlog) {
  return Answer(s, backlog);
}

TSocket Accept(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen) {
  Answer(s, *addrlen);
  return TellPeer(addr, addrlen);
}

std::int32_t SocketName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) {
  Answer(s, *namelen);
  return TellPeer(name, namelen);
}

std::int32_t Send(TSocket s, const char* buf, std::int32_t len, std::int32_t flags) {
  gScript.Buffer = buf;
  gScript.Flags = flags;
  return Answer(s, len);
}

std::int32_t Recv(TSocket s, char* buf, std::int32_t len, std::int32_t flags) {
  gScript.Flags = flags;
  std::strncpy(buf, gScript.Received, static_cast<std::size_t>(len));
  return Answer(s, len);
}

std::int32_t RecvFrom(TSocket s, char* buf, std::int32_t len, std::int32_t flags, TSockAddrIn* from,
                      std::int32_t* fromlen) {
  Recv(s, buf, len, flags);
  return TellPeer(from, fromlen);
}

std::int32_t Select(std::int32_t, TFdSet* readfds, TFdSet* writefds, TFdSet* exceptfds,
                    const TTimeVal* timeout) {
  TFdSet* sets[3] = {readfds, writefds, exceptfds};
  for (int i = 0; i < 3; ++i) {
    gScript.Sets[i] = *sets[i];
    if (gScript.Ready >= 0)
      sets[i]->fd_count = std::min<std::uint32_t>(sets[i]->fd_count, gScript.Ready);
  }
  gScript.WaitsForever = timeout == nullptr;
  if (timeout != nullptr)
    gScript.Timeout = *timeout;
  return gScript.Result;
}

std::uint32_t InetAddr(const char* cp) {
  RecordText(cp);
  return static_cast<std::uint32_t>(gScript.Result);
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
  gEntry.h_aliases = gNoAliases;
  gEntry.h_addrtype = 2;
  gEntry.h_length = 4;
  gEntry.h_addr_list = gAddressList;
  return &gEntry;
}

THostEnt* HostByAddr(const char* addr, std::int32_t len, std::int32_t type) {
  std::memcpy(gScript.AddressAsked, addr, sizeof(gScript.AddressAsked));
  gScript.Length = len;
  gScript.Name = type;
  if (gScript.HostByAddrName == nullptr)
    return nullptr;
  gEntry = THostEnt{};
  gEntry.h_name = const_cast<char*>(gScript.HostByAddrName);
  return &gEntry;
}

TServEnt* ServiceByName(const char* name, const char*) {
  RecordText(name);
  if (gScript.ServicePort < 0)
    return nullptr;
  gService = TServEnt{};
  gService.s_port = static_cast<std::int16_t>(gScript.ServicePort);
  return &gService;
}

TServEnt* ServiceByPort(std::int32_t port, const char*) {
  gScript.PortAsked = port;
  if (gScript.ServiceNames[0] == nullptr)
    return nullptr;
  gService = TServEnt{};
  gService.s_name = const_cast<char*>(gScript.ServiceNames[0]);
  gServiceAliases[0] = const_cast<char*>(gScript.ServiceNames[1]);
  gServiceAliases[1] =
      gScript.ServiceNames[1] != nullptr ? const_cast<char*>(gScript.ServiceNames[2]) : nullptr;
  gServiceAliases[2] = nullptr;
  gService.s_aliases = gServiceAliases;
  return &gService;
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
      ExportOf<Thtons>("htons", &ToNetworkShort),
      ExportOf<Tntohs>("ntohs", &FromNetworkShort),
      ExportOf<Thtonl>("htonl", &ToNetworkLong),
      ExportOf<Tntohl>("ntohl", &FromNetworkLong),
      ExportOf<Tinet_addr>("inet_addr", &InetAddr),
      ExportOf<Tsocket>("socket", &Socket),
      ExportOf<Tsetsockopt>("setsockopt", &SetOption),
      ExportOf<Tgetsockopt>("getsockopt", &GetOption),
      ExportOf<Tsendto>("sendto", &SendTo),
      ExportOf<Tshutdown>("shutdown", &Shutdown),
      ExportOf<Tclosesocket>("closesocket", &CloseSocket),
      ExportOf<Tbind>("bind", &BindOrConnect),
      ExportOf<Tconnect>("connect", &BindOrConnect),
      ExportOf<Tlisten>("listen", &Listen),
      ExportOf<Taccept>("accept", &Accept),
      ExportOf<Tgetsockname>("getsockname", &SocketName),
      ExportOf<Tgetpeername>("getpeername", &SocketName),
      ExportOf<Tsend>("send", &Send),
      ExportOf<Trecv>("recv", &Recv),
      ExportOf<Trecvfrom>("recvfrom", &RecvFrom),
      ExportOf<Tselect>("select", &Select),
      ExportOf<Tgethostname>("gethostname", &HostName),
      ExportOf<Tgethostbyname>("gethostbyname", &HostByName),
      ExportOf<Tgethostbyaddr>("gethostbyaddr", &HostByAddr),
      ExportOf<Tgetservbyname>("getservbyname", &ServiceByName),
      ExportOf<Tgetservbyport>("getservbyport", &ServiceByPort),
  };
  static const platform::TExportTable table(exports);
  return &table;
}

}  // namespace orvo::test
