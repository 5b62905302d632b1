#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace orvo::test {

// A datagram as it arrived: its bytes and the sender's port.
struct TDatagram {
  std::string Payload;
  std::uint16_t SenderPort = 0;
};

// A UDP socket bound to 127.0.0.1 on a port the system picks; it waits a bounded time for each
// datagram. It uses the platform's sockets directly, so it checks the adapter from outside.
class TLoopbackReceiver {
 public:
  TLoopbackReceiver();
  TLoopbackReceiver(const TLoopbackReceiver&) = delete;
  TLoopbackReceiver& operator=(const TLoopbackReceiver&) = delete;
  ~TLoopbackReceiver();

  std::uint16_t Port() const noexcept { return FPort; }
  // The next datagram, or nothing when none arrives in time.
  std::optional<TDatagram> Receive(std::chrono::milliseconds wait = std::chrono::seconds(2));

 private:
  int FSocket = -1;
  std::uint16_t FPort = 0;
};

// The number of descriptors this process has open.
int OpenDescriptorCount();

}  // namespace orvo::test
