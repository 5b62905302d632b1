#pragma once

#include <cstdint>

#include "platform/WinSock.h"

// The socket calls of the adapter under WinSock's contract, for what the sender asks of them: IPv4
// datagram sockets, SO_BROADCAST, sends without flags and shutting the sending side. Anything else
// fails as WinSock refuses it; a failure gives SOCKET_ERROR (INVALID_SOCKET for a socket) with its
// WinSock code as the last error. A send never raises SIGPIPE; a socket made here is closed on
// exec.
namespace orvo::ws2posix {

using ws2::TSockAddrIn;
using ws2::TSocket;

TSocket Socket(std::int32_t af, std::int32_t type, std::int32_t protocol) noexcept;
std::int32_t CloseSocket(TSocket s) noexcept;
std::int32_t Shutdown(TSocket s, std::int32_t how) noexcept;

// SO_BROADCAST as a 32-bit value; any other option is WSAENOPROTOOPT.
std::int32_t SetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, const char* optval,
                        std::int32_t optlen) noexcept;

// The record must be an IPv4 record of 16 bytes or more, whose last eight are not read.
std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept;

}  // namespace orvo::ws2posix
