#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "net/IdComponent.h"
#include "net/IdSocketHandle.h"

namespace orvo {

// A UDP component: one IPv4 datagram socket, opened at the first send (or when Active is set)
// with SO_BROADCAST from BroadcastEnabled, and kept until Active is cleared.
class TIdUDPBase : public TIdComponent {
 public:
  TIdUDPBase();
  ~TIdUDPBase() override;

  virtual void ReleaseSocketHandle();
  // True while a socket is open (or an activation is pending during loading or designing).
  virtual bool Active() const;
  // The socket handle, made and opened when needed.
  virtual TIdSocketHandle& SocketHandle();

  void SetActive(bool active);
  std::int32_t BufferSize() const noexcept { return FBufferSize; }
  void SetBufferSize(std::int32_t size) noexcept { FBufferSize = size; }
  bool BroadcastEnabled() const noexcept { return FBroadcastEnabled; }
  // Stores the value; while a socket is open the option is set at once.
  void SetBroadcastEnabled(bool enabled);

  // Sends the text's bytes, from the text's own storage, as one datagram to host:port.
  void SendText(const std::string& host, std::int32_t port, std::string_view text);
  // Resolves host (on every call), opens the socket when needed and sends the bytes.
  void SendBytes(const std::string& host, std::int32_t port, const void* buffer,
                 std::int32_t count);

 protected:
  virtual void ApplyBroadcast();
  // Sets SO_BROADCAST to all ones (enabled) or 0 on the handle, SocketHandle when none given.
  void SetBroadcastOption(bool enabled, TIdSocketHandle* handle = nullptr);
  void Loaded() override;

  const std::string& HostValue() const noexcept { return FHost; }
  void SetHostValue(std::string host) { FHost = std::move(host); }
  std::int32_t PortValue() const noexcept { return FPort; }
  void SetPortValue(std::int32_t port) noexcept { FPort = port; }
  std::int32_t ReceiveTimeoutValue() const noexcept { return FReceiveTimeout; }
  void SetReceiveTimeoutValue(std::int32_t timeout) noexcept { FReceiveTimeout = timeout; }

 private:
  // Resolved through the stack unless FDestination holds the bytes of that same text.
  const TIdDottedAddress& DestinationOf(const std::string& host);

  std::unique_ptr<TIdSocketHandle> FSocketHandle;
  // The address of the last send: a sender names the same server for every datagram.
  TIdDottedAddress FDestination;
  std::int32_t FBufferSize = 8192;
  bool FPendingActive = false;
  std::string FHost;
  std::int32_t FPort = 0;
  std::int32_t FReceiveTimeout = -2;
  bool FBroadcastEnabled = false;
};

}  // namespace orvo
