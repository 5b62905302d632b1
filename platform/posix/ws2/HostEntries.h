#pragma once

#include <cstdint>

#include "platform/WinSock.h"

// The host entry of gethostbyname in WinSock's layout. It belongs to the calling thread and stays
// valid until its next call; a failed look-up gives no entry and keeps its WinSock code as the
// last error.
namespace orvo::ws2posix {

// No name at all is the local host, as the empty name is (see HostResolver.h).
ws2::THostEnt* GetHostByName(const char* name) noexcept;
std::int32_t GetHostName(char* name, std::int32_t namelen) noexcept;

}  // namespace orvo::ws2posix
