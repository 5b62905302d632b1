#pragma once

#include "platform/WinSock.h"

// The socket adapter's work over POSIX sockets: each function has the WinSock contract of the
// export of the same name and converts numbers, records and error codes at this boundary.
// Ws2Exports.cpp exports them under their WinSock names.
namespace orvo::ws2posix {

using ws2::TFdSet;
using ws2::THostEnt;
using ws2::TServEnt;
using ws2::TSockAddrIn;
using ws2::TSocket;
using ws2::TTimeVal;

std::int32_t GetLastError() noexcept;
void SetLastError(std::int32_t code) noexcept;

TSocket Accept(TSocket s, TSockAddrIn* addr, std::int32_t* addrlen) noexcept;
std::int32_t Bind(TSocket s, const TSockAddrIn* addr, std::int32_t namelen) noexcept;
std::int32_t CloseSocket(TSocket s) noexcept;
std::int32_t Connect(TSocket s, const TSockAddrIn* name, std::int32_t namelen) noexcept;
std::int32_t GetPeerName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept;
std::int32_t GetSockName(TSocket s, TSockAddrIn* name, std::int32_t* namelen) noexcept;
std::int32_t GetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, char* optval,
                        std::int32_t* optlen) noexcept;
std::uint32_t InetAddr(const char* cp) noexcept;
std::int32_t Listen(TSocket s, std::int32_t backlog) noexcept;
std::int32_t Recv(TSocket s, char* buf, std::int32_t len, std::int32_t flags) noexcept;
std::int32_t RecvFrom(TSocket s, char* buf, std::int32_t len, std::int32_t flags, TSockAddrIn* from,
                      std::int32_t* fromlen) noexcept;
std::int32_t Select(TFdSet* readfds, TFdSet* writefds, TFdSet* exceptfds,
                    const TTimeVal* timeout) noexcept;
std::int32_t Send(TSocket s, const char* buf, std::int32_t len, std::int32_t flags) noexcept;
std::int32_t SendTo(TSocket s, const char* buf, std::int32_t len, std::int32_t flags,
                    const TSockAddrIn* to, std::int32_t tolen) noexcept;
std::int32_t SetSockOpt(TSocket s, std::int32_t level, std::int32_t optname, const char* optval,
                        std::int32_t optlen) noexcept;
std::int32_t Shutdown(TSocket s, std::int32_t how) noexcept;
TSocket Socket(std::int32_t af, std::int32_t type, std::int32_t protocol) noexcept;

// The entries returned below belong to the calling thread and stay valid until its next call
// of the same function.
THostEnt* GetHostByAddr(const char* addr, std::int32_t len, std::int32_t type) noexcept;
// The machine's own name, the empty name and no name at all are the local host: the addresses
// of its interfaces (see HostResolver.h). Answers are reused for one second at most.
THostEnt* GetHostByName(const char* name) noexcept;
std::int32_t GetHostName(char* name, std::int32_t namelen) noexcept;
TServEnt* GetServByPort(std::int32_t port, const char* proto) noexcept;
TServEnt* GetServByName(const char* name, const char* proto) noexcept;

}  // namespace orvo::ws2posix
