#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvo::testing {

// A UDP socket bound to 127.0.0.1 on a port the system picks, standing in for a syslog server.
class LoopbackReceiver {
 public:
  struct Datagram {
    std::string Bytes;
    std::string PeerAddress;
    std::uint16_t PeerPort = 0;
  };

  LoopbackReceiver();
  ~LoopbackReceiver();
  LoopbackReceiver(const LoopbackReceiver&) = delete;
  LoopbackReceiver& operator=(const LoopbackReceiver&) = delete;

  std::uint16_t Port() const noexcept { return FPort; }

  // The next datagram, or nullopt when none arrives within the wait.
  std::optional<Datagram> Receive(int waitMilliseconds = 5000);

 private:
  int FSocket = -1;
  std::uint16_t FPort = 0;
};

}  // namespace orvo::testing
