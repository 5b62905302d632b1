// The scripted socket library: see ScriptedWinSock.h.
#include "ScriptedWinSock.h"

#include <cstring>

#define ORVO_SCRIPTED_EXPORT extern "C" __attribute__((visibility("default")))

using namespace orvo::ws2;
using orvo::test::TScriptedWinSock;

namespace {

TScriptedWinSock gScript;

THostEnt gEntry{};
char* gAddressList[5] = {};

void RecordClose(char step) {
  const std::size_t used = std::strlen(gScript.CloseOrder);
  if (used + 1 < sizeof(gScript.CloseOrder))
    gScript.CloseOrder[used] = step;
}

std::int32_t Failed() {
  return WS_SOCKET_ERROR;
}

}  // namespace

ORVO_SCRIPTED_EXPORT TScriptedWinSock* ScriptedWinSock() {
  return &gScript;
}

ORVO_SCRIPTED_EXPORT std::int32_t WSAStartup(std::uint16_t, TWSAData*) {
  return 0;
}
ORVO_SCRIPTED_EXPORT std::int32_t WSACleanup() {
  return 0;
}
ORVO_SCRIPTED_EXPORT std::int32_t WSACancelBlockingCall() {
  return 0;
}
ORVO_SCRIPTED_EXPORT std::int32_t WSAGetLastError() {
  return gScript.LastError;
}
ORVO_SCRIPTED_EXPORT void WSASetLastError(std::int32_t error) {
  gScript.LastError = error;
}

ORVO_SCRIPTED_EXPORT std::uint16_t htons(std::uint16_t value) {
  return static_cast<std::uint16_t>((value << 8) | (value >> 8));
}

ORVO_SCRIPTED_EXPORT TSocket socket(std::int32_t, std::int32_t, std::int32_t) {
  ++gScript.SocketCalls;
  return gScript.SocketResult;
}

ORVO_SCRIPTED_EXPORT std::int32_t setsockopt(TSocket, std::int32_t level, std::int32_t optname,
                                             const char* optval, std::int32_t optlen) {
  ++gScript.SetOptionCalls;
  gScript.SetOptionLevel = level;
  gScript.SetOptionName = optname;
  gScript.SetOptionLength = optlen;
  std::memcpy(&gScript.SetOptionValue, optval, sizeof(gScript.SetOptionValue));
  return gScript.SetOptionResult;
}

ORVO_SCRIPTED_EXPORT std::int32_t sendto(TSocket, const char* buf, std::int32_t len,
                                         std::int32_t flags, const TSockAddrIn* to,
                                         std::int32_t tolen) {
  ++gScript.SendToCalls;
  gScript.SendToFlags = flags;
  gScript.SendToRecordLength = tolen;
  gScript.SendToBuffer = buf;
  std::memcpy(gScript.SendToRecord, to, sizeof(gScript.SendToRecord));
  if (gScript.SendToResult == -1)
    return Failed();
  return gScript.SendToResult == -2 ? len : gScript.SendToResult;
}

ORVO_SCRIPTED_EXPORT std::int32_t shutdown(TSocket, std::int32_t how) {
  gScript.ShutdownHow = how;
  RecordClose('s');
  return 0;
}

ORVO_SCRIPTED_EXPORT std::int32_t closesocket(TSocket) {
  RecordClose('c');
  return 0;
}

ORVO_SCRIPTED_EXPORT std::int32_t gethostname(char* name, std::int32_t namelen) {
  if (gScript.HostNameResult != 0)
    return Failed();
  std::strncpy(name, gScript.HostName, static_cast<std::size_t>(namelen));
  return 0;
}

ORVO_SCRIPTED_EXPORT THostEnt* gethostbyname(const char* name) {
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
