#include "net/IdSocketHandle.h"

#include "platform/WinSock.h"

namespace orvo {

TIdSocketHandle::TIdSocketHandle() {
  ClearAddresses(true);
}

TIdSocketHandle::~TIdSocketHandle() {
  Close();
}

void TIdSocketHandle::Close() {
  if (!FIsOpen)
    return;
  FIsOpen = false;
  // Closing reports nothing: not its results, nor a stack or library that is already gone.
  try {
    TIdStack& stack = CurrentStack();
    stack.SockShutdown(FSocket, ws2::WS_SD_SEND);
    stack.SockClose(FSocket);
  } catch (const Exception&) {
  }
}

void TIdSocketHandle::Connect(std::int32_t family) {
  TIdStack& stack = CurrentStack();
  stack.CheckSocketResult(stack.SockConnect(FSocket, family, FRemoteIP, FRemotePort));
  std::int32_t boundFamily = 0;
  stack.SockLocalName(FSocket, boundFamily, FIP, FPort);
  stack.SockPeerName(FSocket, boundFamily, FRemoteIP, FRemotePort);
}

std::int32_t TIdSocketHandle::RecvFrom(void* buffer, std::int32_t length, std::string& ip,
                                       std::int32_t& port) {
  return CurrentStack().SockRecvFrom(FSocket, buffer, length, 0, ip, port);
}

void TIdSocketHandle::OpenSocket(std::int32_t socketType, std::int32_t protocol) {
  Close();
  FSocket = CurrentStack().NewSocket(socketType, protocol);
  FIsOpen = true;
}

void TIdSocketHandle::SetSocketOption(std::int32_t level, std::int32_t name, const void* value,
                                      std::int32_t length) {
  TIdStack& stack = CurrentStack();
  stack.CheckSocketResult(stack.SockSetOption(FSocket, level, name, value, length));
}

void TIdSocketHandle::SendDatagram(const TIdDottedAddress& ip, std::int32_t port,
                                   const void* buffer, std::int32_t length) {
  TIdStack& stack = CurrentStack();
  const std::int32_t sent = stack.SockSendTo(FSocket, buffer, length, 0, ip, port);
  if (sent == Id_SOCKET_ERROR) {
    if (stack.SockLastError() == ws2::WS_WSAEMSGSIZE)
      throw EIdPackageSizeTooBig();
    stack.CheckSocketResult(sent);
  }
  if (sent != length)
    throw EIdNotAllBytesSent();
}

void TIdSocketHandle::ClearAddresses(bool includeLocal) {
  FIsOpen = false;
  FSocket = Id_INVALID_SOCKET;
  if (includeLocal) {
    FIP.clear();
    FPort = 0;
  }
  FRemoteIP.clear();
  FRemotePort = 0;
}

}  // namespace orvo
