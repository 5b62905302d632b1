#pragma once

#include <cstdint>

// The WinSock 2 contract: numbers, record layouts and the function types of every export the
// binding knows, which the POSIX adapter implements as WS2_32.DLL does.
namespace orvo::ws2 {

// The prefix WS_ keeps the names clear of the system headers' macros (AF_INET, SOCKET_ERROR, ...).

// All ones is no socket; pointer-sized on 64-bit Windows.
#if defined(_WIN64)
using TSocket = std::uintptr_t;
#else
using TSocket = std::int32_t;
#endif
inline constexpr TSocket WS_INVALID_SOCKET = -1;
inline constexpr std::int32_t WS_SOCKET_ERROR = -1;

inline constexpr std::int32_t WS_AF_INET = 2;
inline constexpr std::int32_t WS_SOCK_DGRAM = 2;

inline constexpr std::int32_t WS_SOL_SOCKET = 0xFFFF;
inline constexpr std::int32_t WS_SO_BROADCAST = 0x0020;

inline constexpr std::int32_t WS_SD_SEND = 1;

inline constexpr std::uint32_t WS_INADDR_ANY = 0;

// Error codes in WinSock numbering.
inline constexpr std::int32_t WS_WSAEINTR = 10004;
inline constexpr std::int32_t WS_WSAEBADF = 10009;
inline constexpr std::int32_t WS_WSAEACCES = 10013;
inline constexpr std::int32_t WS_WSAEFAULT = 10014;
inline constexpr std::int32_t WS_WSAEINVAL = 10022;
inline constexpr std::int32_t WS_WSAEMFILE = 10024;
inline constexpr std::int32_t WS_WSAEWOULDBLOCK = 10035;
inline constexpr std::int32_t WS_WSAEINPROGRESS = 10036;
inline constexpr std::int32_t WS_WSAEALREADY = 10037;
inline constexpr std::int32_t WS_WSAENOTSOCK = 10038;
inline constexpr std::int32_t WS_WSAEDESTADDRREQ = 10039;
inline constexpr std::int32_t WS_WSAEMSGSIZE = 10040;
inline constexpr std::int32_t WS_WSAEPROTOTYPE = 10041;
inline constexpr std::int32_t WS_WSAENOPROTOOPT = 10042;
inline constexpr std::int32_t WS_WSAEPROTONOSUPPORT = 10043;
inline constexpr std::int32_t WS_WSAESOCKTNOSUPPORT = 10044;
inline constexpr std::int32_t WS_WSAEOPNOTSUPP = 10045;
inline constexpr std::int32_t WS_WSAEPFNOSUPPORT = 10046;
inline constexpr std::int32_t WS_WSAEAFNOSUPPORT = 10047;
inline constexpr std::int32_t WS_WSAEADDRINUSE = 10048;
inline constexpr std::int32_t WS_WSAEADDRNOTAVAIL = 10049;
inline constexpr std::int32_t WS_WSAENETDOWN = 10050;
inline constexpr std::int32_t WS_WSAENETUNREACH = 10051;
inline constexpr std::int32_t WS_WSAENETRESET = 10052;
inline constexpr std::int32_t WS_WSAECONNABORTED = 10053;
inline constexpr std::int32_t WS_WSAECONNRESET = 10054;
inline constexpr std::int32_t WS_WSAENOBUFS = 10055;
inline constexpr std::int32_t WS_WSAEISCONN = 10056;
inline constexpr std::int32_t WS_WSAENOTCONN = 10057;
inline constexpr std::int32_t WS_WSAESHUTDOWN = 10058;
inline constexpr std::int32_t WS_WSAETOOMANYREFS = 10059;
inline constexpr std::int32_t WS_WSAETIMEDOUT = 10060;
inline constexpr std::int32_t WS_WSAECONNREFUSED = 10061;
inline constexpr std::int32_t WS_WSAELOOP = 10062;
inline constexpr std::int32_t WS_WSAENAMETOOLONG = 10063;
inline constexpr std::int32_t WS_WSAEHOSTDOWN = 10064;
inline constexpr std::int32_t WS_WSAEHOSTUNREACH = 10065;
inline constexpr std::int32_t WS_WSAENOTEMPTY = 10066;
inline constexpr std::int32_t WS_WSANOTINITIALISED = 10093;
inline constexpr std::int32_t WS_WSASYSCALLFAILURE = 10107;
inline constexpr std::int32_t WS_WSAHOST_NOT_FOUND = 11001;
inline constexpr std::int32_t WS_WSATRY_AGAIN = 11002;
inline constexpr std::int32_t WS_WSANO_RECOVERY = 11003;
inline constexpr std::int32_t WS_WSANO_DATA = 11004;

// The 16-byte IPv4 address record: family in host order, port and address in network order,
// eight bytes of zero.
struct TSockAddrIn {
  std::uint16_t sin_family;
  std::uint16_t sin_port;
  std::uint8_t sin_addr[4];
  std::uint8_t sin_zero[8];
};
static_assert(sizeof(TSockAddrIn) == 16);

struct THostEnt {
  char* h_name;
  char** h_aliases;
  std::int16_t h_addrtype;
  std::int16_t h_length;
  char** h_addr_list;  // 4-byte IPv4 addresses in network order, ended by a null entry
};

// 64-bit Windows puts the protocol before the port.
struct TServEnt {
  char* s_name;
  char** s_aliases;
#if defined(_WIN64)
  char* s_proto;
  std::int16_t s_port;  // network order
#else
  std::int16_t s_port;  // network order
  char* s_proto;
#endif
};

struct TProtoEnt {
  char* p_name;
  char** p_aliases;
  std::int16_t p_proto;
};

inline constexpr std::uint32_t WS_FD_SETSIZE = 64;

// A socket set: a count and the sockets themselves (not a bit mask).
struct TFdSet {
  std::uint32_t fd_count;
  TSocket fd_array[WS_FD_SETSIZE];
};

struct TTimeVal {
  std::int32_t tv_sec;
  std::int32_t tv_usec;
};

// 64-bit Windows puts the texts last.
struct TWSAData {
  std::uint16_t wVersion;
  std::uint16_t wHighVersion;
#if defined(_WIN64)
  std::uint16_t iMaxSockets;
  std::uint16_t iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[257];
  char szSystemStatus[129];
#else
  char szDescription[257];
  char szSystemStatus[129];
  std::uint16_t iMaxSockets;
  std::uint16_t iMaxUdpDg;
  char* lpVendorInfo;
#endif
};

// On 32-bit Windows WinSock's functions pop their own arguments (__stdcall): a pointer to one that
// does not say so leaves the caller's stack pointer off after every call.
#if defined(_WIN32) && !defined(_WIN64)
#define ORVO_WSAAPI __stdcall
#else
#define ORVO_WSAAPI
#endif

// Records of the rows that nothing in this system calls are passed as untyped pointers.
using TOpaque = void*;

using TWSAStartup = std::int32_t ORVO_WSAAPI(std::uint16_t version, TWSAData* data);
using TWSACleanup = std::int32_t ORVO_WSAAPI();
using Taccept = TSocket ORVO_WSAAPI(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen);
using Tbind = std::int32_t ORVO_WSAAPI(TSocket s, const TSockAddrIn* addr, std::int32_t namelen);
using Tclosesocket = std::int32_t ORVO_WSAAPI(TSocket s);
using Tconnect = std::int32_t ORVO_WSAAPI(TSocket s, const TSockAddrIn* name, std::int32_t namelen);
using Tioctlsocket = std::int32_t ORVO_WSAAPI(TSocket s, std::int32_t cmd, std::uint32_t* argp);
using Tgetpeername = std::int32_t ORVO_WSAAPI(TSocket s, TSockAddrIn* name, std::int32_t* namelen);
using Tgetsockname = std::int32_t ORVO_WSAAPI(TSocket s, TSockAddrIn* name, std::int32_t* namelen);
using Tgetsockopt = std::int32_t ORVO_WSAAPI(TSocket s, std::int32_t level, std::int32_t optname,
                                             char* optval, std::int32_t* optlen);
using Thtonl = std::uint32_t ORVO_WSAAPI(std::uint32_t hostlong);
using Thtons = std::uint16_t ORVO_WSAAPI(std::uint16_t hostshort);
using Tinet_addr = std::uint32_t ORVO_WSAAPI(const char* cp);
using Tinet_ntoa = char* ORVO_WSAAPI(std::uint32_t in);
using Tlisten = std::int32_t ORVO_WSAAPI(TSocket s, std::int32_t backlog);
using Tntohl = std::uint32_t ORVO_WSAAPI(std::uint32_t netlong);
using Tntohs = std::uint16_t ORVO_WSAAPI(std::uint16_t netshort);
using Trecv = std::int32_t ORVO_WSAAPI(TSocket s, char* buf, std::int32_t len, std::int32_t flags);
using Trecvfrom = std::int32_t ORVO_WSAAPI(TSocket s, char* buf, std::int32_t len,
                                           std::int32_t flags, TSockAddrIn* from,
                                           std::int32_t* fromlen);
using Tselect = std::int32_t ORVO_WSAAPI(std::int32_t nfds, TFdSet* readfds, TFdSet* writefds,
                                         TFdSet* exceptfds, const TTimeVal* timeout);
using Tsend = std::int32_t ORVO_WSAAPI(TSocket s, const char* buf, std::int32_t len,
                                       std::int32_t flags);
using Tsendto = std::int32_t ORVO_WSAAPI(TSocket s, const char* buf, std::int32_t len,
                                         std::int32_t flags, const TSockAddrIn* to,
                                         std::int32_t tolen);
using Tsetsockopt = std::int32_t ORVO_WSAAPI(TSocket s, std::int32_t level, std::int32_t optname,
                                             const char* optval, std::int32_t optlen);
using Tshutdown = std::int32_t ORVO_WSAAPI(TSocket s, std::int32_t how);
using Tsocket = TSocket ORVO_WSAAPI(std::int32_t af, std::int32_t type, std::int32_t protocol);
using Tgethostbyaddr = THostEnt* ORVO_WSAAPI(const char* addr, std::int32_t len, std::int32_t type);
using Tgethostbyname = THostEnt* ORVO_WSAAPI(const char* name);
using Tgethostname = std::int32_t ORVO_WSAAPI(char* name, std::int32_t namelen);
using Tgetservbyport = TServEnt* ORVO_WSAAPI(std::int32_t port, const char* proto);
using Tgetservbyname = TServEnt* ORVO_WSAAPI(const char* name, const char* proto);
using Tgetprotobynumber = TProtoEnt* ORVO_WSAAPI(std::int32_t proto);
using Tgetprotobyname = TProtoEnt* ORVO_WSAAPI(const char* name);
using TWSASetLastError = void ORVO_WSAAPI(std::int32_t error);
using TWSAGetLastError = std::int32_t ORVO_WSAAPI();
using TWSAIsBlocking = std::int32_t ORVO_WSAAPI();
using TWSAUnhookBlockingHook = std::int32_t ORVO_WSAAPI();
using TWSASetBlockingHook = TOpaque ORVO_WSAAPI(TOpaque blockFunc);
using TWSACancelBlockingCall = std::int32_t ORVO_WSAAPI();
using TWSAAsyncGetServByName = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                   const char* name, const char* proto, char* buf,
                                                   std::int32_t buflen);
using TWSAAsyncGetServByPort = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                   std::int32_t port, const char* proto, char* buf,
                                                   std::int32_t buflen);
using TWSAAsyncGetProtoByName = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                    const char* name, char* buf,
                                                    std::int32_t buflen);
using TWSAAsyncGetProtoByNumber = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                      std::int32_t number, char* buf,
                                                      std::int32_t buflen);
using TWSAAsyncGetHostByName = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                   const char* name, char* buf,
                                                   std::int32_t buflen);
using TWSAAsyncGetHostByAddr = TOpaque ORVO_WSAAPI(TOpaque hWnd, std::uint32_t wMsg,
                                                   const char* addr, std::int32_t len,
                                                   std::int32_t type, char* buf,
                                                   std::int32_t buflen);
using TWSACancelAsyncRequest = std::int32_t ORVO_WSAAPI(TOpaque asyncTaskHandle);
using TWSAAsyncSelect = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque hWnd, std::uint32_t wMsg,
                                                 std::int32_t lEvent);
using TWSAFDIsSet = std::int32_t ORVO_WSAAPI(TSocket s, TFdSet* set);
using TWSAAccept = TSocket ORVO_WSAAPI(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen,
                                       TOpaque condition, TOpaque callbackData);
using TWSACloseEvent = std::int32_t ORVO_WSAAPI(TOpaque event);
using TWSAConnect = std::int32_t ORVO_WSAAPI(TSocket s, const TSockAddrIn* name,
                                             std::int32_t namelen, TOpaque callerData,
                                             TOpaque calleeData, TOpaque sqos, TOpaque gqos);
using TWSACreateEvent = TOpaque ORVO_WSAAPI();
using TWSADuplicateSocket = std::int32_t ORVO_WSAAPI(TSocket s, std::uint32_t processId,
                                                     TOpaque protocolInfo);
using TWSAEnumNetworkEvents = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque eventObject,
                                                       TOpaque networkEvents);
using TWSAEnumProtocols = std::int32_t ORVO_WSAAPI(std::int32_t* protocols, TOpaque protocolBuffer,
                                                   std::uint32_t* bufferLength);
using TWSAEventSelect = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque eventObject,
                                                 std::int32_t networkEvents);
using TWSAGetOverlappedResult = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque overlapped,
                                                         std::uint32_t* transfer, std::int32_t wait,
                                                         std::uint32_t* flags);
using TWSAGetQosByName = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque qosName, TOpaque qos);
using TWSAHtonl = std::int32_t ORVO_WSAAPI(TSocket s, std::uint32_t hostlong,
                                           std::uint32_t* netlong);
using TWSAHtons = std::int32_t ORVO_WSAAPI(TSocket s, std::uint16_t hostshort,
                                           std::uint16_t* netshort);
using TWSAIoctl = std::int32_t ORVO_WSAAPI(TSocket s, std::uint32_t ioControlCode, TOpaque inBuffer,
                                           std::uint32_t inLength, TOpaque outBuffer,
                                           std::uint32_t outLength, std::uint32_t* bytesReturned,
                                           TOpaque overlapped, TOpaque completionRoutine);
using TWSAJoinLeaf = TSocket ORVO_WSAAPI(TSocket s, const TSockAddrIn* name, std::int32_t namelen,
                                         TOpaque callerData, TOpaque calleeData, TOpaque sqos,
                                         TOpaque gqos, std::uint32_t flags);
using TWSANtohl = std::int32_t ORVO_WSAAPI(TSocket s, std::uint32_t netlong,
                                           std::uint32_t* hostlong);
using TWSANtohs = std::int32_t ORVO_WSAAPI(TSocket s, std::uint16_t netshort,
                                           std::uint16_t* hostshort);
using TWSARecv = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque buffers, std::uint32_t bufferCount,
                                          std::uint32_t* bytesRecvd, std::uint32_t* flags,
                                          TOpaque overlapped, TOpaque completionRoutine);
using TWSARecvDisconnect = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque inboundDisconnectData);
using TWSARecvFrom = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque buffers, std::uint32_t bufferCount,
                                              std::uint32_t* bytesRecvd, std::uint32_t* flags,
                                              TSockAddrIn* from, std::int32_t* fromlen,
                                              TOpaque overlapped, TOpaque completionRoutine);
using TWSAResetEvent = std::int32_t ORVO_WSAAPI(TOpaque event);
using TWSASend = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque buffers, std::uint32_t bufferCount,
                                          std::uint32_t* bytesSent, std::uint32_t flags,
                                          TOpaque overlapped, TOpaque completionRoutine);
using TWSASendDisconnect = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque outboundDisconnectData);
using TWSASendTo = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque buffers, std::uint32_t bufferCount,
                                            std::uint32_t* bytesSent, std::uint32_t flags,
                                            const TSockAddrIn* to, std::int32_t tolen,
                                            TOpaque overlapped, TOpaque completionRoutine);
using TWSASetEvent = std::int32_t ORVO_WSAAPI(TOpaque event);
using TWSASocket = TSocket ORVO_WSAAPI(std::int32_t af, std::int32_t type, std::int32_t protocol,
                                       TOpaque protocolInfo, std::uint32_t group,
                                       std::uint32_t flags);
using TWSAWaitForMultipleEvents = std::uint32_t ORVO_WSAAPI(std::uint32_t count, TOpaque events,
                                                            std::int32_t waitAll,
                                                            std::uint32_t timeout,
                                                            std::int32_t alertable);
using TWSAAddressToString = std::int32_t ORVO_WSAAPI(TSockAddrIn* address,
                                                     std::uint32_t addressLength,
                                                     TOpaque protocolInfo, TOpaque addressString,
                                                     std::uint32_t* addressStringLength);
using TWSAStringToAddress = std::int32_t ORVO_WSAAPI(TOpaque addressString,
                                                     std::int32_t addressFamily,
                                                     TOpaque protocolInfo, TSockAddrIn* address,
                                                     std::int32_t* addressLength);
using TWSALookupServiceBegin = std::int32_t ORVO_WSAAPI(TOpaque restrictions,
                                                        std::uint32_t controlFlags, TOpaque lookup);
using TWSALookupServiceNext = std::int32_t ORVO_WSAAPI(TOpaque lookup, std::uint32_t controlFlags,
                                                       std::uint32_t* bufferLength,
                                                       TOpaque results);
using TWSALookupServiceEnd = std::int32_t ORVO_WSAAPI(TOpaque lookup);
using TWSAInstallServiceClass = std::int32_t ORVO_WSAAPI(TOpaque serviceClassInfo);
using TWSARemoveServiceClass = std::int32_t ORVO_WSAAPI(TOpaque serviceClassId);
using TWSAGetServiceClassInfo = std::int32_t ORVO_WSAAPI(TOpaque providerId, TOpaque serviceClassId,
                                                         std::uint32_t* bufSize,
                                                         TOpaque serviceClassInfo);
using TWSAEnumNameSpaceProviders = std::int32_t ORVO_WSAAPI(std::uint32_t* bufferLength,
                                                            TOpaque buffer);
using TWSAGetServiceClassNameByClassId = std::int32_t ORVO_WSAAPI(TOpaque serviceClassId,
                                                                  TOpaque serviceName,
                                                                  std::uint32_t* bufferLength);
using TWSASetService = std::int32_t ORVO_WSAAPI(TOpaque regInfo, std::int32_t operation,
                                                std::uint32_t controlFlags);
using TWSAProviderConfigChange = std::int32_t ORVO_WSAAPI(TOpaque notificationHandle,
                                                          TOpaque overlapped,
                                                          TOpaque completionRoutine);
using TTransmitFile = std::int32_t ORVO_WSAAPI(TSocket s, TOpaque file, std::uint32_t bytesToWrite,
                                               std::uint32_t bytesPerSend, TOpaque overlapped,
                                               TOpaque transmitBuffers, std::uint32_t flags);
using TAcceptEx = std::int32_t ORVO_WSAAPI(TSocket listenSocket, TSocket acceptSocket,
                                           TOpaque outputBuffer, std::uint32_t receiveDataLength,
                                           std::uint32_t localAddressLength,
                                           std::uint32_t remoteAddressLength,
                                           std::uint32_t* bytesReceived, TOpaque overlapped);
using TGetAcceptExSockaddrs =
    void ORVO_WSAAPI(TOpaque outputBuffer, std::uint32_t receiveDataLength,
                     std::uint32_t localAddressLength, std::uint32_t remoteAddressLength,
                     TSockAddrIn** localSockaddr, std::int32_t* localSockaddrLength,
                     TSockAddrIn** remoteSockaddr, std::int32_t* remoteSockaddrLength);
using TWSARecvEx = std::int32_t ORVO_WSAAPI(TSocket s, char* buf, std::int32_t len,
                                            std::int32_t* flags);

}  // namespace orvo::ws2
