#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::test {

// A datagram as it arrived: its bytes and the sender's port.
struct TDatagram {
  std::string Payload;
  std::uint16_t SenderPort = 0;
};

// A UDP socket bound to 127.0.0.1 on a port the system picks; it waits a bounded time for each
// datagram. It uses the platform's own sockets (BSD sockets, or WinSock linked at build time),
// never the program's socket layer, so it checks that layer from outside.
class TLoopbackReceiver {
 public:
  TLoopbackReceiver();
  TLoopbackReceiver(const TLoopbackReceiver&) = delete;
  TLoopbackReceiver& operator=(const TLoopbackReceiver&) = delete;
  ~TLoopbackReceiver();

  std::uint16_t Port() const noexcept { return FPort; }
  // "127.0.0.1:port", as the program's -h option takes it.
  std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }

  // The next datagram, or nothing when none arrives in time.
  std::optional<TDatagram> Receive(std::chrono::milliseconds wait = std::chrono::seconds(2));
  // The payloads of every datagram that arrives until none has come for quiet.
  std::vector<std::string> ReceiveAll(
      std::chrono::milliseconds quiet = std::chrono::milliseconds(500));

 private:
  std::uintptr_t FSocket = 0;  // wide enough for a WinSock SOCKET and a descriptor alike
  std::uint16_t FPort = 0;
};

}  // namespace orvo::test
