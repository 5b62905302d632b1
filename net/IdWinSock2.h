#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/IdException.h"
#include "platform/Library.h"
#include "platform/WinSock.h"

namespace orvo {

// A failure of the socket library binding. Its message is Heading alone when SystemCode is 0,
// else Heading, ": " and SystemText.
class EIdWS2StubError : public EIdException {
 public:
  EIdWS2StubError(std::string heading, std::int32_t systemCode);

  std::int32_t SystemCode() const noexcept { return FSystemCode; }
  // The system's text for SystemCode without its trailing blanks, line ends and full stops.
  const std::string& SystemText() const noexcept { return FSystemText; }
  const std::string& Heading() const noexcept { return FHeading; }

 private:
  EIdWS2StubError(std::string heading, std::int32_t systemCode, std::string systemText);

  std::int32_t FSystemCode;
  std::string FSystemText;
  std::string FHeading;
};

}  // namespace orvo

// The binding to the socket library: one row per function it may offer, with its export name and
// a slot that holds a stub until the first call looks the name up and stores the function.
namespace orvo::ws2 {

// X(row identifier, export name, function type); the generic rows take their ANSI names.
#define ORVO_WS2_BINDING_ROWS(X)                                                          \
  X(WSACleanup, "WSACleanup", TWSACleanup)                                                \
  X(accept, "accept", Taccept)                                                            \
  X(bind, "bind", Tbind)                                                                  \
  X(closesocket, "closesocket", Tclosesocket)                                             \
  X(connect, "connect", Tconnect)                                                         \
  X(ioctlsocket, "ioctlsocket", Tioctlsocket)                                             \
  X(getpeername, "getpeername", Tgetpeername)                                             \
  X(getsockname, "getsockname", Tgetsockname)                                             \
  X(getsockopt, "getsockopt", Tgetsockopt)                                                \
  X(htonl, "htonl", Thtonl)                                                               \
  X(htons, "htons", Thtons)                                                               \
  X(inet_addr, "inet_addr", Tinet_addr)                                                   \
  X(inet_ntoa, "inet_ntoa", Tinet_ntoa)                                                   \
  X(listen, "listen", Tlisten)                                                            \
  X(ntohl, "ntohl", Tntohl)                                                               \
  X(ntohs, "ntohs", Tntohs)                                                               \
  X(recv, "recv", Trecv)                                                                  \
  X(recvfrom, "recvfrom", Trecvfrom)                                                      \
  X(select, "select", Tselect)                                                            \
  X(send, "send", Tsend)                                                                  \
  X(sendto, "sendto", Tsendto)                                                            \
  X(setsockopt, "setsockopt", Tsetsockopt)                                                \
  X(shutdown, "shutdown", Tshutdown)                                                      \
  X(socket, "socket", Tsocket)                                                            \
  X(gethostbyaddr, "gethostbyaddr", Tgethostbyaddr)                                       \
  X(gethostbyname, "gethostbyname", Tgethostbyname)                                       \
  X(gethostname, "gethostname", Tgethostname)                                             \
  X(getservbyport, "getservbyport", Tgetservbyport)                                       \
  X(getservbyname, "getservbyname", Tgetservbyname)                                       \
  X(getprotobynumber, "getprotobynumber", Tgetprotobynumber)                              \
  X(getprotobyname, "getprotobyname", Tgetprotobyname)                                    \
  X(WSASetLastError, "WSASetLastError", TWSASetLastError)                                 \
  X(WSAGetLastError, "WSAGetLastError", TWSAGetLastError)                                 \
  X(WSAIsBlocking, "WSAIsBlocking", TWSAIsBlocking)                                       \
  X(WSAUnhookBlockingHook, "WSAUnhookBlockingHook", TWSAUnhookBlockingHook)               \
  X(WSASetBlockingHook, "WSASetBlockingHook", TWSASetBlockingHook)                        \
  X(WSACancelBlockingCall, "WSACancelBlockingCall", TWSACancelBlockingCall)               \
  X(WSAAsyncGetServByName, "WSAAsyncGetServByName", TWSAAsyncGetServByName)               \
  X(WSAAsyncGetServByPort, "WSAAsyncGetServByPort", TWSAAsyncGetServByPort)               \
  X(WSAAsyncGetProtoByName, "WSAAsyncGetProtoByName", TWSAAsyncGetProtoByName)            \
  X(WSAAsyncGetProtoByNumber, "WSAAsyncGetProtoByNumber", TWSAAsyncGetProtoByNumber)      \
  X(WSAAsyncGetHostByName, "WSAAsyncGetHostByName", TWSAAsyncGetHostByName)               \
  X(WSAAsyncGetHostByAddr, "WSAAsyncGetHostByAddr", TWSAAsyncGetHostByAddr)               \
  X(WSACancelAsyncRequest, "WSACancelAsyncRequest", TWSACancelAsyncRequest)               \
  X(WSAAsyncSelect, "WSAAsyncSelect", TWSAAsyncSelect)                                    \
  X(WSAFDIsSet, "__WSAFDIsSet", TWSAFDIsSet)                                              \
  X(WSAAccept, "WSAAccept", TWSAAccept)                                                   \
  X(WSACloseEvent, "WSACloseEvent", TWSACloseEvent)                                       \
  X(WSAConnect, "WSAConnect", TWSAConnect)                                                \
  X(WSACreateEvent, "WSACreateEvent", TWSACreateEvent)                                    \
  X(WSADuplicateSocketA, "WSADuplicateSocketA", TWSADuplicateSocket)                      \
  X(WSADuplicateSocketW, "WSADuplicateSocketW", TWSADuplicateSocket)                      \
  X(WSAEnumNetworkEvents, "WSAEnumNetworkEvents", TWSAEnumNetworkEvents)                  \
  X(WSAEnumProtocolsA, "WSAEnumProtocolsA", TWSAEnumProtocols)                            \
  X(WSAEnumProtocolsW, "WSAEnumProtocolsW", TWSAEnumProtocols)                            \
  X(WSAEventSelect, "WSAEventSelect", TWSAEventSelect)                                    \
  X(WSAGetOverlappedResult, "WSAGetOverlappedResult", TWSAGetOverlappedResult)            \
  X(WSAGetQosByName, "WSAGetQosByName", TWSAGetQosByName)                                 \
  X(WSAHtonl, "WSAHtonl", TWSAHtonl)                                                      \
  X(WSAHtons, "WSAHtons", TWSAHtons)                                                      \
  X(WSAIoctl, "WSAIoctl", TWSAIoctl)                                                      \
  X(WSAJoinLeaf, "WSAJoinLeaf", TWSAJoinLeaf)                                             \
  X(WSANtohl, "WSANtohl", TWSANtohl)                                                      \
  X(WSANtohs, "WSANtohs", TWSANtohs)                                                      \
  X(WSARecv, "WSARecv", TWSARecv)                                                         \
  X(WSARecvDisconnect, "WSARecvDisconnect", TWSARecvDisconnect)                           \
  X(WSARecvFrom, "WSARecvFrom", TWSARecvFrom)                                             \
  X(WSAResetEvent, "WSAResetEvent", TWSAResetEvent)                                       \
  X(WSASend, "WSASend", TWSASend)                                                         \
  X(WSASendDisconnect, "WSASendDisconnect", TWSASendDisconnect)                           \
  X(WSASendTo, "WSASendTo", TWSASendTo)                                                   \
  X(WSASetEvent, "WSASetEvent", TWSASetEvent)                                             \
  X(WSASocketA, "WSASocketA", TWSASocket)                                                 \
  X(WSASocketW, "WSASocketW", TWSASocket)                                                 \
  X(WSAWaitForMultipleEvents, "WSAWaitForMultipleEvents", TWSAWaitForMultipleEvents)      \
  X(WSAAddressToStringA, "WSAAddressToStringA", TWSAAddressToString)                      \
  X(WSAAddressToStringW, "WSAAddressToStringW", TWSAAddressToString)                      \
  X(WSAStringToAddressA, "WSAStringToAddressA", TWSAStringToAddress)                      \
  X(WSAStringToAddressW, "WSAStringToAddressW", TWSAStringToAddress)                      \
  X(WSALookupServiceBeginA, "WSALookupServiceBeginA", TWSALookupServiceBegin)             \
  X(WSALookupServiceBeginW, "WSALookupServiceBeginW", TWSALookupServiceBegin)             \
  X(WSALookupServiceNextA, "WSALookupServiceNextA", TWSALookupServiceNext)                \
  X(WSALookupServiceNextW, "WSALookupServiceNextW", TWSALookupServiceNext)                \
  X(WSALookupServiceEnd, "WSALookupServiceEnd", TWSALookupServiceEnd)                     \
  X(WSAInstallServiceClassA, "WSAInstallServiceClassA", TWSAInstallServiceClass)          \
  X(WSAInstallServiceClassW, "WSAInstallServiceClassW", TWSAInstallServiceClass)          \
  X(WSARemoveServiceClass, "WSARemoveServiceClass", TWSARemoveServiceClass)               \
  X(WSAGetServiceClassInfoA, "WSAGetServiceClassInfoA", TWSAGetServiceClassInfo)          \
  X(WSAGetServiceClassInfoW, "WSAGetServiceClassInfoW", TWSAGetServiceClassInfo)          \
  X(WSAEnumNameSpaceProvidersA, "WSAEnumNameSpaceProvidersA", TWSAEnumNameSpaceProviders) \
  X(WSAEnumNameSpaceProvidersW, "WSAEnumNameSpaceProvidersW", TWSAEnumNameSpaceProviders) \
  X(WSAGetServiceClassNameByClassIdA, "WSAGetServiceClassNameByClassIdA",                 \
    TWSAGetServiceClassNameByClassId)                                                     \
  X(WSAGetServiceClassNameByClassIdW, "WSAGetServiceClassNameByClassIdW",                 \
    TWSAGetServiceClassNameByClassId)                                                     \
  X(WSASetServiceA, "WSASetServiceA", TWSASetService)                                     \
  X(WSASetServiceW, "WSASetServiceW", TWSASetService)                                     \
  X(WSAProviderConfigChange, "WSAProviderConfigChange", TWSAProviderConfigChange)         \
  X(WSADuplicateSocket, "WSADuplicateSocketA", TWSADuplicateSocket)                       \
  X(WSAEnumProtocols, "WSAEnumProtocolsA", TWSAEnumProtocols)                             \
  X(WSASocket, "WSASocketA", TWSASocket)                                                  \
  X(WSAAddressToString, "WSAAddressToStringA", TWSAAddressToString)                       \
  X(WSAStringToAddress, "WSAStringToAddressA", TWSAStringToAddress)                       \
  X(WSALookupServiceBegin, "WSALookupServiceBeginA", TWSALookupServiceBegin)              \
  X(WSALookupServiceNext, "WSALookupServiceNextA", TWSALookupServiceNext)                 \
  X(WSAInstallServiceClass, "WSAInstallServiceClassA", TWSAInstallServiceClass)           \
  X(WSAGetServiceClassInfo, "WSAGetServiceClassInfoA", TWSAGetServiceClassInfo)           \
  X(WSAEnumNameSpaceProviders, "WSAEnumNameSpaceProvidersA", TWSAEnumNameSpaceProviders)  \
  X(WSAGetServiceClassNameByClassId, "WSAGetServiceClassNameByClassIdA",                  \
    TWSAGetServiceClassNameByClassId)                                                     \
  X(WSASetService, "WSASetServiceA", TWSASetService)                                      \
  X(TransmitFile, "TransmitFile", TTransmitFile)                                          \
  X(AcceptEx, "AcceptEx", TAcceptEx)                                                      \
  X(GetAcceptExSockaddrs, "GetAcceptExSockaddrs", TGetAcceptExSockaddrs)                  \
  X(WSARecvEx, "WSARecvEx", TWSARecvEx)

#define ORVO_WS2_ROW_ID(name, exportName, type) Row_##name,
enum TBindingRow : std::size_t { ORVO_WS2_BINDING_ROWS(ORVO_WS2_ROW_ID) BindingRowCount };
#undef ORVO_WS2_ROW_ID

// The start-up call: loads the library when it is not loaded (raising EIdWS2StubError when that
// fails), then calls the library's WSAStartup and returns its result. The process-wide stack
// calls it under StackLock, so it never runs on two threads at once.
std::int32_t WSAStartup(std::uint16_t version, TWSAData* data);

// Puts every slot back to its stub and releases the library; runs by itself at exit.
void UnloadLibrary() noexcept;

void ResetBindingTable() noexcept;

platform::TLibraryHandle LibraryHandle() noexcept;
TWSAStartup* StartupEntry() noexcept;

// What the start-up call loads in place of LoadLibraryA("WS2_32.DLL"); nullptr puts that back.
// A loader that fails leaves its reason as the platform's last error.
using TLibraryLoader = platform::TLibraryHandle();
void SetLibraryLoader(TLibraryLoader* loader) noexcept;

namespace binding {

// Raises EIdWS2StubError when no library is loaded or it does not export the row's name.
platform::TProcAddress Resolve(TBindingRow row);

template <TBindingRow Row, typename Function>
struct TRowCall;

// The slot of one row, typed as the row's function and constant-initialised with its stub. It is
// atomic because threads sending at once may bind it at once. A row type without the library's
// calling convention matches no slot and does not compile.
template <TBindingRow Row, typename Result, typename... Args>
struct TRowCall<Row, Result ORVO_WSAAPI(Args...)> {
  using TFunction = Result ORVO_WSAAPI(Args...);

  static Result ORVO_WSAAPI Stub(Args... args) {
    auto* function = reinterpret_cast<TFunction*>(Resolve(Row));
    Slot.store(function, std::memory_order_relaxed);
    return function(args...);
  }

  static constinit inline std::atomic<TFunction*> Slot{&Stub};

  static Result ORVO_WSAAPI Call(Args... args) {
    return Slot.load(std::memory_order_relaxed)(args...);
  }
  static void Reset() noexcept { Slot.store(&Stub, std::memory_order_relaxed); }
};

}  // namespace binding

// ws2::sendto(...) calls through the sendto slot.
#define ORVO_WS2_ROW_CALL(name, exportName, type) \
  inline constexpr type* name = &binding::TRowCall<Row_##name, type>::Call;
ORVO_WS2_BINDING_ROWS(ORVO_WS2_ROW_CALL)
#undef ORVO_WS2_ROW_CALL

}  // namespace orvo::ws2
