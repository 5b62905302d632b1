#include "net/IdUDPBase.h"

#include <limits>

#include "platform/WinSock.h"

namespace orvo {

TIdUDPBase::TIdUDPBase() = default;

TIdUDPBase::~TIdUDPBase() {
  // The socket is closed before the component base lets the stack go.
  ReleaseSocketHandle();
}

void TIdUDPBase::ReleaseSocketHandle() {
  FSocketHandle.reset();
}

bool TIdUDPBase::Active() const {
  return FPendingActive || (FSocketHandle != nullptr && FSocketHandle->IsOpen());
}

TIdSocketHandle& TIdUDPBase::SocketHandle() {
  if (FSocketHandle == nullptr)
    FSocketHandle = std::make_unique<TIdSocketHandle>();
  if (!FSocketHandle->IsOpen()) {
    FSocketHandle->OpenSocket(ws2::WS_SOCK_DGRAM, 0);
    ApplyBroadcast();
  }
  return *FSocketHandle;
}

void TIdUDPBase::SetActive(bool active) {
  if (active == Active())
    return;
  if (IsLoading() || IsDesigning()) {
    FPendingActive = active;
  } else if (active) {
    SocketHandle();
  } else {
    ReleaseSocketHandle();
  }
}

void TIdUDPBase::SetBroadcastEnabled(bool enabled) {
  if (enabled == FBroadcastEnabled)
    return;
  FBroadcastEnabled = enabled;
  if (Active())
    ApplyBroadcast();
}

void TIdUDPBase::SendText(const std::string& host, std::int32_t port, std::string_view text) {
  // A text too long for any datagram is refused as such, without its length wrapping around.
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw EIdPackageSizeTooBig();
  }
  SendBytes(host, port, text.data(), static_cast<std::int32_t>(text.size()));
}

void TIdUDPBase::SendBytes(const std::string& host, std::int32_t port, const void* buffer,
                           std::int32_t count) {
  const TIdDottedAddress& ip = DestinationOf(host);
  SocketHandle().SendDatagram(ip, port, buffer, count);
}

const TIdDottedAddress& TIdUDPBase::DestinationOf(const std::string& host) {
  // Reading the same text again would give the same bytes, so a host that was read as a dotted
  // address (or "LOCALHOST") is only compared; a name still goes to the resolver.
  if (!FDestination.Bytes || FDestination.Text != host)
    FDestination = CurrentStack().ResolveDottedAddress(host);
  return FDestination;
}

void TIdUDPBase::ApplyBroadcast() {
  SetBroadcastOption(FBroadcastEnabled);
}

void TIdUDPBase::SetBroadcastOption(bool enabled, TIdSocketHandle* handle) {
  const std::int32_t value = enabled ? -1 : 0;
  if (handle == nullptr)
    handle = &SocketHandle();
  handle->SetSocketOption(ws2::WS_SOL_SOCKET, ws2::WS_SO_BROADCAST, &value, sizeof(value));
}

void TIdUDPBase::Loaded() {
  TIdComponent::Loaded();
  const bool pending = FPendingActive;
  FPendingActive = false;
  SetActive(pending);
}

}  // namespace orvo
