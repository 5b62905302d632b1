#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstdint>

#include "platform/posix/ws2/Sockets.h"

namespace orvo::ws2posix {
namespace {

// An option switched on under its WinSock number is on under the system's number of the same
// meaning; the WinSock numbers are written as WinSock defines them.
TEST(SocketOptionsTest, WinSockOptionsSetTheSystemsOptionOfTheSameMeaning) {
  constexpr std::int32_t kSocketLevel = 0xFFFF;
  const struct {
    std::int32_t WinSock;
    int Native;
  } options[] = {{0x0004, SO_REUSEADDR},
                 {0x0008, SO_KEEPALIVE},
                 {0x0010, SO_DONTROUTE},
                 {0x0020, SO_BROADCAST},
                 {0x0100, SO_OOBINLINE}};
  const TSocket socket = Socket(2, 2, 0);
  ASSERT_GE(socket, 0);
  for (const auto& [winsock, native] : options) {
    const std::int32_t on = -1;
    ASSERT_EQ(
        SetSockOpt(socket, kSocketLevel, winsock, reinterpret_cast<const char*>(&on), sizeof on), 0)
        << winsock;
    int value = 0;
    socklen_t length = sizeof value;
    ASSERT_EQ(::getsockopt(socket, SOL_SOCKET, native, &value, &length), 0);
    EXPECT_NE(value, 0) << "WinSock option " << winsock;
  }
  CloseSocket(socket);
}

}  // namespace
}  // namespace orvo::ws2posix
