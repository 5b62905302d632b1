// A socket library whose start-up always fails, for the stack's initialisation failure.
#include "platform/WinSock.h"

namespace {
constexpr std::int32_t kSystemNotReady = 10091;  // WSASYSNOTREADY
}

extern "C" __attribute__((visibility("default"))) std::int32_t WSAStartup(std::uint16_t,
                                                                          orvo::ws2::TWSAData*) {
  return kSystemNotReady;
}
