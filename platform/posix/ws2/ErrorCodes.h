#pragma once

#include <cstdint>

// The socket adapter's error codes. Every failure it reports is a WinSock code, kept as the
// calling thread's last error for WSAGetLastError. Native error numbers and resolver results
// become WinSock codes here and nowhere else; a native error WinSock has no number for is
// WSASYSCALLFAILURE (10107).
namespace orvo::ws2posix {

// The WinSock code of a native error number.
std::int32_t WinSockCodeOf(int error) noexcept;
// The WinSock code of a failed getaddrinfo or getnameinfo result (EAI_SYSTEM reads errno).
std::int32_t ResolverCodeOf(int result) noexcept;

std::int32_t LastError() noexcept;
void SetLastError(std::int32_t code) noexcept;

// Keeps `code` as the last error and gives the result of a failed call (SOCKET_ERROR).
std::int32_t Fail(std::int32_t code) noexcept;
// Fail with the WinSock code of errno.
std::int32_t FailWithErrno() noexcept;

// Keeps `code` as the last error and gives the result of a failed look-up: no entry.
template <typename TEntry>
TEntry* FailEntry(std::int32_t code) noexcept {
  SetLastError(code);
  return nullptr;
}

}  // namespace orvo::ws2posix
