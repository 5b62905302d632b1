#pragma once

#include <cstdint>
#include <string>

#include "net/IdException.h"
#include "net/IdStack.h"

namespace orvo {

class EIdSocketHandleError : public EIdException {
 public:
  using EIdException::EIdException;
};

class EIdPackageSizeTooBig : public EIdSocketHandleError {
 public:
  EIdPackageSizeTooBig() : EIdSocketHandleError("Package Size Too Big.") {}
};

class EIdNotAllBytesSent : public EIdSocketHandleError {
 public:
  EIdNotAllBytesSent() : EIdSocketHandleError("Not all bytes sent.") {}
};

// One operating-system socket, reached through SharedStack. Destroying the handle closes it.
class TIdSocketHandle {
 public:
  TIdSocketHandle();
  TIdSocketHandle(const TIdSocketHandle&) = delete;
  TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;
  virtual ~TIdSocketHandle();

  // Shuts the sending side down and closes the socket when it is open; reports nothing.
  virtual void Close();
  // Connects to RemoteIP:RemotePort and refreshes the four address fields from the socket.
  virtual void Connect(std::int32_t family);
  // Receives one datagram into the buffer; the sender's address and port come back.
  virtual std::int32_t RecvFrom(void* buffer, std::int32_t length, std::string& ip,
                                std::int32_t& port);

  // Closes any open socket and opens one of the type; EIdInvalidSocket leaves it closed.
  void OpenSocket(std::int32_t socketType, std::int32_t protocol);
  // Raises EIdSocketError when the stack refuses the option.
  void SetSocketOption(std::int32_t level, std::int32_t name, const void* value,
                       std::int32_t length);
  // One datagram to ip:port (the port's low 16 bits): EIdPackageSizeTooBig when too large,
  // EIdNotAllBytesSent when fewer bytes went out, EIdSocketError for other failures.
  void SendDatagram(const TIdDottedAddress& ip, std::int32_t port, const void* buffer,
                    std::int32_t length);
  void ClearAddresses(bool includeLocal);

  TIdStackSocketHandle Socket() const noexcept { return FSocket; }
  bool IsOpen() const noexcept { return FIsOpen; }
  const std::string& IP() const noexcept { return FIP; }
  void SetIP(std::string ip) { FIP = std::move(ip); }
  const std::string& RemoteIP() const noexcept { return FRemoteIP; }
  void SetRemoteIP(std::string ip) { FRemoteIP = std::move(ip); }
  std::int32_t Port() const noexcept { return FPort; }
  void SetPort(std::int32_t port) noexcept { FPort = port; }
  std::int32_t RemotePort() const noexcept { return FRemotePort; }
  void SetRemotePort(std::int32_t port) noexcept { FRemotePort = port; }
  std::int32_t ClientPortMin() const noexcept { return FClientPortMin; }
  void SetClientPortMin(std::int32_t port) noexcept { FClientPortMin = port; }
  std::int32_t ClientPortMax() const noexcept { return FClientPortMax; }
  void SetClientPortMax(std::int32_t port) noexcept { FClientPortMax = port; }

 private:
  TIdStackSocketHandle FSocket = Id_INVALID_SOCKET;
  bool FIsOpen = false;
  std::string FIP;
  std::string FRemoteIP;
  std::int32_t FPort = 0;
  std::int32_t FRemotePort = 0;
  std::int32_t FClientPortMin = 0;
  std::int32_t FClientPortMax = 0;
};

}  // namespace orvo
