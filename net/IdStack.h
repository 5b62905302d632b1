#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/IdException.h"
#include "platform/WinSock.h"

namespace orvo {

// A failed socket call; SocketCode is its WinSock error code.
class EIdSocketError : public EIdException {
 public:
  EIdSocketError(std::int32_t code, std::string message);
  std::int32_t SocketCode() const noexcept { return FSocketCode; }

 private:
  std::int32_t FSocketCode;
};

class EIdInvalidSocket : public EIdException {
 public:
  using EIdException::EIdException;
};

class EIdInvalidServiceName : public EIdException {
 public:
  using EIdException::EIdException;
};

class EIdStackError : public EIdException {
 public:
  using EIdException::EIdException;
};

class EIdStackInitializationFailed : public EIdStackError {
 public:
  using EIdStackError::EIdStackError;
};

class EIdStackSetSizeExceeded : public EIdStackError {
 public:
  using EIdStackError::EIdStackError;
};

// WinSock's own handle type (pointer-sized on 64-bit Windows); all ones is no socket.
using TIdStackSocketHandle = ws2::TSocket;
inline constexpr TIdStackSocketHandle Id_INVALID_SOCKET = ws2::WS_INVALID_SOCKET;
inline constexpr std::int32_t Id_SOCKET_ERROR = ws2::WS_SOCKET_ERROR;

// An IPv4 address: four bytes in network order.
using TIdIn4Addr = std::array<std::uint8_t, 4>;

// An address to send to: its dotted text, with its bytes when resolving has read them already.
struct TIdDottedAddress {
  std::string Text;
  std::optional<TIdIn4Addr> Bytes;
};

// The socket stack through which the network components reach the sockets; a concrete stack
// wraps each socket function and returns its result unexamined.
class TIdStack {
 public:
  TIdStack() = default;
  TIdStack(const TIdStack&) = delete;
  TIdStack& operator=(const TIdStack&) = delete;
  virtual ~TIdStack();

  // Refills the local address list from the local host name.
  virtual void FillLocalAddresses() = 0;
  virtual std::string FirstLocalAddress() = 0;
  // The local host's addresses, resolved afresh on each call; the list stays the stack's.
  virtual const std::vector<std::string>& LocalAddressList() = 0;
  virtual TIdStackSocketHandle SockAccept(TIdStackSocketHandle socket, std::string& ip,
                                          std::int32_t& port) = 0;
  virtual std::int32_t SockBind(TIdStackSocketHandle socket, std::int32_t family,
                                const std::string& ip, std::int32_t port) = 0;
  virtual std::int32_t SockClose(TIdStackSocketHandle socket) = 0;
  virtual std::int32_t SockConnect(TIdStackSocketHandle socket, std::int32_t family,
                                   const std::string& ip, std::int32_t port) = 0;
  virtual std::string SockHostByName(const std::string& hostName) = 0;
  virtual std::string SockHostName() = 0;
  virtual std::string SockHostByAddr(const std::string& ip) = 0;
  virtual std::int32_t SockServicePort(const std::string& serviceName) = 0;
  virtual std::vector<std::string> SockServiceNames(std::int32_t port) = 0;
  virtual std::uint16_t SockHostToNetShort(std::uint16_t value) = 0;
  virtual std::int32_t SockListen(TIdStackSocketHandle socket, std::int32_t backlog) = 0;
  virtual std::uint16_t SockNetToHostShort(std::uint16_t value) = 0;
  virtual std::uint32_t SockHostToNetLong(std::uint32_t value) = 0;
  virtual std::uint32_t SockNetToHostLong(std::uint32_t value) = 0;
  virtual std::int32_t SockRecv(TIdStackSocketHandle socket, void* buffer, std::int32_t length,
                                std::int32_t flags) = 0;
  virtual std::int32_t SockRecvFrom(TIdStackSocketHandle socket, void* buffer, std::int32_t length,
                                    std::int32_t flags, std::string& ip, std::int32_t& port) = 0;
  // Each list given is replaced by its sockets that are ready; a timeout of -2 waits forever.
  virtual std::int32_t SockSelect(std::vector<TIdStackSocketHandle>* readList,
                                  std::vector<TIdStackSocketHandle>* writeList,
                                  std::vector<TIdStackSocketHandle>* errorList,
                                  std::int32_t timeoutMs) = 0;
  virtual std::int32_t SockSend(TIdStackSocketHandle socket, const void* buffer,
                                std::int32_t length, std::int32_t flags) = 0;
  virtual std::int32_t SockSendTo(TIdStackSocketHandle socket, const void* buffer,
                                  std::int32_t length, std::int32_t flags,
                                  const TIdDottedAddress& ip, std::int32_t port) = 0;
  virtual std::int32_t SockSetOption(TIdStackSocketHandle socket, std::int32_t level,
                                     std::int32_t name, const void* value, std::int32_t length) = 0;
  virtual TIdStackSocketHandle SockOpen(std::int32_t family, std::int32_t type,
                                        std::int32_t protocol) = 0;
  virtual std::int32_t SockShutdown(TIdStackSocketHandle socket, std::int32_t how) = 0;
  // "Socket Error # <code>\r\n<text>", with the empty text for codes outside the table.
  virtual std::string SocketErrorText(std::int32_t code);
  virtual std::int32_t SockLastError() = 0;
  virtual void SockPeerName(TIdStackSocketHandle socket, std::int32_t& family, std::string& ip,
                            std::int32_t& port) = 0;
  virtual void SockLocalName(TIdStackSocketHandle socket, std::int32_t& family, std::string& ip,
                             std::int32_t& port) = 0;
  virtual std::int32_t SockGetOption(TIdStackSocketHandle socket, std::int32_t level,
                                     std::int32_t name, void* value, std::int32_t& length) = 0;
  virtual std::string AddressToText(const TIdIn4Addr& address) = 0;
  virtual void TextToAddress(std::string_view text, TIdIn4Addr& address) = 0;

  // False for no failure (-1); true for a tolerated code; otherwise raises EIdSocketError with
  // the code this call read, which it keeps in LastCode.
  bool CheckSocketResult(std::int32_t result, std::initializer_list<std::int32_t> tolerated = {});
  // Keeps the code in LastCode and raises EIdSocketError with its message.
  [[noreturn]] void RaiseSocketFailure(std::int32_t code);
  [[noreturn]] void RaiseLastSocketError();
  // An IPv4 socket of the type; raises EIdInvalidSocket when the system refuses.
  TIdStackSocketHandle NewSocket(std::int32_t type, std::int32_t protocol = 0);
  bool IsDottedAddress(std::string_view text) const;
  // "LOCALHOST" in any case is 127.0.0.1, a dotted address itself; a name asks the resolver.
  std::string ResolveAddress(const std::string& host);
  // ResolveAddress with the bytes it read for "LOCALHOST" and a dotted address.
  TIdDottedAddress ResolveDottedAddress(const std::string& host);
  // The dotted text as one 32-bit value with its bytes in network order.
  std::uint32_t AddressOf(std::string_view text);
  // The same value, taken from the bytes when resolving has read them already.
  std::uint32_t AddressOf(const TIdDottedAddress& address);

  // The code of the last failure checked on this stack, by whichever thread checked it.
  std::int32_t LastCode() const noexcept { return FLastCode.load(std::memory_order_relaxed); }

 protected:
  std::optional<std::vector<std::string>> FAddressList;

 private:
  std::atomic<std::int32_t> FLastCode{0};
};

// Makes a stack of the concrete class the platform uses.
using TIdStackClass = std::unique_ptr<TIdStack> (*)();
TIdStackClass StackClass() noexcept;
std::unique_ptr<TIdStack> NewStack();

// The process-wide stack, or nullptr.
TIdStack* SharedStack() noexcept;
// SharedStack, or EIdStackError "No socket stack." when a stack was taken from a living component.
TIdStack& CurrentStack();
// Installs `stack` as SharedStack and hands back the one it replaces.
std::unique_ptr<TIdStack> ExchangeSharedStack(std::unique_ptr<TIdStack> stack);

namespace address {

// The text before the next "." of `rest` (all of it when there is none); `rest` moves past it.
std::string_view SplitField(std::string_view& rest);

}  // namespace address

}  // namespace orvo
