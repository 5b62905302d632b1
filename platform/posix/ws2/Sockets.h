#pragma once

#include <cstdint>

#include "platform/WinSock.h"

// The socket calls of the adapter, each with the WinSock contract of its export: WinSock's
// numbers for families, types, levels, options, flags and directions are turned into the
// system's, and a failure gives SOCKET_ERROR (INVALID_SOCKET for a socket) with its WinSock
// code as the last error. A send never raises SIGPIPE; a socket made here is closed on exec.
namespace orvo::ws2posix {

using ws2::TFdSet;
using ws2::TSockAddrIn;
using ws2::TSocket;
using ws2::TTimeVal;

TSocket Socket(std::int32_t af, std::int32_t type, std::int32_t protocol) noexcept;
std::int32_t CloseSocket(TSocket s) noexcept;
std::int32_t Shutdown(TSocket s, std::int32_t how) noexcept;

std::int32_t Bind(TSocket s, const TSockAddrIn* addr, std::int32_t namelen) noexcept;
std::int32_t Connect(TSocket s, const TSockAddrIn* name, std::int32_t namelen) noexcept;
std::int32_t Listen(TSocket s, std::int32_t backlog) noexcept;
TSocket Accept(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen) noexcept;
std::int32_t GetPeerName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept;
std::int32_t GetSockName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept;

// Options of the socket level and TCP_NODELAY, as 32-bit values; others are WSAENOPROTOOPT.
std::int32_t GetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, char* optval,
                        std::int32_t* optlen) noexcept;
std::int32_t SetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, const char* optval,
                        std::int32_t optlen) noexcept;

std::int32_t Send(TSocket s, const char* buf, std::int32_t len, std::int32_t flags) noexcept;
std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept;
std::int32_t Recv(TSocket s, char* buf, std::int32_t len, std::int32_t flags) noexcept;
std::int32_t RecvFrom(TSocket s, char* buf, std::int32_t len, std::int32_t flags, TSockAddrIn* from,
                      std::int32_t* fromlen) noexcept;

// WinSock's select without its ignored first argument.
std::int32_t Select(TFdSet* readfds, TFdSet* writefds, TFdSet* exceptfds,
                    const TTimeVal* timeout) noexcept;

}  // namespace orvo::ws2posix
