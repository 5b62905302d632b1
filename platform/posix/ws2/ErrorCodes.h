#pragma once

#include <cstdint>

// The adapter's failures as WinSock codes, kept as the calling thread's last error. Native error
// numbers and resolver results become WinSock codes here alone; a native error WinSock has no
// number for is WSASYSCALLFAILURE (10107).
namespace orvo::ws2posix {

std::int32_t WinSockCodeOf(int error) noexcept;
// Of a failed getaddrinfo (EAI_SYSTEM reads errno).
std::int32_t ResolverCodeOf(int result) noexcept;

std::int32_t LastError() noexcept;

// Keeps `code` as the last error and gives SOCKET_ERROR.
std::int32_t Fail(std::int32_t code) noexcept;
std::int32_t FailWithErrno() noexcept;

}  // namespace orvo::ws2posix
