#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>

#include "platform/WinSock.h"

// WinSock's 16-byte IPv4 address record against the system's sockaddr_in, and the byte order
// functions. Port and address are in network order on both sides and pass unchanged; a record
// given to the adapter is checked before use (room for 16 bytes, else WSAEFAULT; the IPv4
// family, else WSAEAFNOSUPPORT), and a record handed back always has room for 16 bytes.
namespace orvo::ws2posix {

// Whether the record is one WinSock takes; sets the last error when it is not.
bool IsIPv4Record(const ws2::TSockAddrIn* record, std::int32_t length) noexcept;

// The checked WinSock record as the system takes it: itself, where the system lays its record
// out alike, else its copy in `converted`.
const sockaddr* SystemRecordOf(const ws2::TSockAddrIn& record, sockaddr_in& converted) noexcept;

// Whether a record pointer comes with room for 16 bytes (or is no pointer at all).
bool RoomForAddress(const ws2::TSockAddrIn* record, const std::int32_t* length) noexcept;

// Fills `to` and its length from the system's record; nothing when either is no pointer.
void ToWinSockAddress(const sockaddr_in& from, ws2::TSockAddrIn* to, std::int32_t* length) noexcept;

// The address of a dotted text in network order; INADDR_NONE for no text or no address.
std::uint32_t InetAddr(const char* text) noexcept;

// Host to network order and back: one swap on a little-endian machine, nothing on a big one.
std::uint16_t SwapToNetwork(std::uint16_t value) noexcept;
std::uint32_t SwapToNetwork(std::uint32_t value) noexcept;

}  // namespace orvo::ws2posix
