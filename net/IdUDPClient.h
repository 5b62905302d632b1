#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/IdUDPBase.h"

namespace orvo {

// A UDP client: sends texts as datagrams to Host:Port. Host and Port are plain stores, read
// afresh by every send.
class TIdUDPClient : public TIdUDPBase {
 public:
  TIdUDPClient() = default;

  const std::string& Host() const noexcept { return HostValue(); }
  void SetHost(std::string host) { SetHostValue(std::move(host)); }
  std::int32_t Port() const noexcept { return PortValue(); }
  void SetPort(std::int32_t port) noexcept { SetPortValue(port); }
  std::int32_t ReceiveTimeout() const noexcept { return ReceiveTimeoutValue(); }
  void SetReceiveTimeout(std::int32_t timeout) noexcept { SetReceiveTimeoutValue(timeout); }

  using TIdUDPBase::SendText;
  // Sends the text as one datagram to Host:Port; every failure is an exception.
  void SendText(std::string_view text);
};

}  // namespace orvo
