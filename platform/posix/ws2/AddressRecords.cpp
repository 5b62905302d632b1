#include "platform/posix/ws2/AddressRecords.h"

#include <arpa/inet.h>

#include <bit>
#include <cstddef>
#include <cstring>

#include "platform/posix/ws2/ErrorCodes.h"

namespace orvo::ws2posix {

namespace {

using ws2::TSockAddrIn;

void CopyIPv4Record(const TSockAddrIn& from, sockaddr_in& to) noexcept {
  to = sockaddr_in{};
  to.sin_family = AF_INET;
  to.sin_port = from.sin_port;
  std::memcpy(&to.sin_addr, from.sin_addr, sizeof(from.sin_addr));
}

// Where the system lays its IPv4 record out as WinSock does (family, port and address at the
// same places and sizes, the family numbered alike; the trailing zeros are not read), a checked
// WinSock record is the system's record too and is handed over without a copy.
constexpr bool kSameIPv4Record =
    sizeof(sockaddr_in) == sizeof(TSockAddrIn) && AF_INET == ws2::WS_AF_INET &&
    sizeof(sa_family_t) == sizeof(TSockAddrIn::sin_family) &&
    offsetof(sockaddr_in, sin_family) == offsetof(TSockAddrIn, sin_family) &&
    offsetof(sockaddr_in, sin_port) == offsetof(TSockAddrIn, sin_port) &&
    offsetof(sockaddr_in, sin_addr) == offsetof(TSockAddrIn, sin_addr);

}  // namespace

bool IsIPv4Record(const TSockAddrIn* record, std::int32_t length) noexcept {
  if (record == nullptr || length < static_cast<std::int32_t>(sizeof(TSockAddrIn))) {
    Fail(ws2::WS_WSAEFAULT);
    return false;
  }
  if (record->sin_family != ws2::WS_AF_INET) {
    Fail(ws2::WS_WSAEAFNOSUPPORT);
    return false;
  }
  return true;
}

const sockaddr* SystemRecordOf(const TSockAddrIn& record, sockaddr_in& converted) noexcept {
  if constexpr (kSameIPv4Record) {
    return reinterpret_cast<const sockaddr*>(&record);
  }
  CopyIPv4Record(record, converted);
  return reinterpret_cast<const sockaddr*>(&converted);
}

bool RoomForAddress(const TSockAddrIn* record, const std::int32_t* length) noexcept {
  return record == nullptr ||
         (length != nullptr && *length >= static_cast<std::int32_t>(sizeof(TSockAddrIn)));
}

void ToWinSockAddress(const sockaddr_in& from, TSockAddrIn* to, std::int32_t* length) noexcept {
  if (to == nullptr || length == nullptr)
    return;
  *to = TSockAddrIn{};
  to->sin_family = static_cast<std::uint16_t>(ws2::WS_AF_INET);
  to->sin_port = from.sin_port;
  std::memcpy(to->sin_addr, &from.sin_addr, sizeof(to->sin_addr));
  *length = sizeof(TSockAddrIn);
}

std::uint32_t InetAddr(const char* text) noexcept {
  if (text == nullptr)
    return ws2::WS_INADDR_NONE;
  return ::inet_addr(text);
}

std::uint16_t SwapToNetwork(std::uint16_t value) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<std::uint16_t>((value << 8) | (value >> 8));
  }
  return value;
}

std::uint32_t SwapToNetwork(std::uint32_t value) noexcept {
  if constexpr (std::endian::native == std::endian::little) {
    return (value << 24) | ((value << 8) & 0x00FF0000U) | ((value >> 8) & 0x0000FF00U) |
           (value >> 24);
  }
  return value;
}

}  // namespace orvo::ws2posix
