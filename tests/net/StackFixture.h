#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "net/IdStackWindows.h"

namespace orvo::test {

inline constexpr std::int32_t kStream = 1;
inline constexpr std::int32_t kDatagram = 2;
inline constexpr std::int32_t kSocketLevel = 0xFFFF;
inline constexpr std::int32_t kBroadcast = 0x20;

inline const TIdDottedAddress kLoopback{"127.0.0.1", std::nullopt};

// A stack of the platform's class; the sockets opened through OpenSocket are closed at the end.
class TStackFixture : public ::testing::Test {
 protected:
  TIdStackSocketHandle OpenSocket(std::int32_t type = kDatagram) {
    const TIdStackSocketHandle socket = FStack.NewSocket(type);
    FSockets.push_back(socket);
    return socket;
  }

  ~TStackFixture() override {
    for (const TIdStackSocketHandle socket : FSockets)
      FStack.SockClose(socket);
  }

  TIdStackWindows FStack;
  std::vector<TIdStackSocketHandle> FSockets;
};

}  // namespace orvo::test
