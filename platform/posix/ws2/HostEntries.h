#pragma once

#include <cstdint>

#include "platform/WinSock.h"

// The host and service entries of the adapter, in WinSock's record layouts. An entry belongs to
// the calling thread and stays valid until its next call of the same function; a failed look-up
// gives no entry and keeps the WinSock code of the failure as the last error.
namespace orvo::ws2posix {

using ws2::THostEnt;
using ws2::TServEnt;

// The machine's own name, the empty name and no name at all are the local host: the addresses
// of its interfaces (see HostResolver.h). Answers are reused for one second at most.
THostEnt* GetHostByName(const char* name) noexcept;
THostEnt* GetHostByAddr(const char* addr, std::int32_t len, std::int32_t type) noexcept;
std::int32_t GetHostName(char* name, std::int32_t namelen) noexcept;
TServEnt* GetServByPort(std::int32_t port, const char* proto) noexcept;
TServEnt* GetServByName(const char* name, const char* proto) noexcept;

}  // namespace orvo::ws2posix
