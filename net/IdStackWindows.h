#pragma once

#include <memory>

#include "net/IdStack.h"
#include "platform/WinSock.h"

namespace orvo {

// The socket stack over the WinSock 2 library, reached through the run-time binding. Making one
// starts the library (version 2.2); destroying it ends that use of the library.
class TIdStackWindows : public TIdStack {
 public:
  // Raises EIdWS2StubError when the library can't be loaded and EIdStackInitializationFailed
  // "Winsock Initialization Error." when it does not start.
  TIdStackWindows();
  ~TIdStackWindows() override;

  void FillLocalAddresses() override;
  std::string FirstLocalAddress() override;
  const std::vector<std::string>& LocalAddressList() override;
  TIdStackSocketHandle SockAccept(TIdStackSocketHandle socket, std::string& ip,
                                  std::int32_t& port) override;
  std::int32_t SockBind(TIdStackSocketHandle socket, std::int32_t family, const std::string& ip,
                        std::int32_t port) override;
  std::int32_t SockClose(TIdStackSocketHandle socket) override;
  std::int32_t SockConnect(TIdStackSocketHandle socket, std::int32_t family, const std::string& ip,
                           std::int32_t port) override;
  std::string SockHostByName(const std::string& hostName) override;
  std::string SockHostName() override;
  std::string SockHostByAddr(const std::string& ip) override;
  std::int32_t SockServicePort(const std::string& serviceName) override;
  std::vector<std::string> SockServiceNames(std::int32_t port) override;
  std::uint16_t SockHostToNetShort(std::uint16_t value) override;
  std::int32_t SockListen(TIdStackSocketHandle socket, std::int32_t backlog) override;
  std::uint16_t SockNetToHostShort(std::uint16_t value) override;
  std::uint32_t SockHostToNetLong(std::uint32_t value) override;
  std::uint32_t SockNetToHostLong(std::uint32_t value) override;
  std::int32_t SockRecv(TIdStackSocketHandle socket, void* buffer, std::int32_t length,
                        std::int32_t flags) override;
  std::int32_t SockRecvFrom(TIdStackSocketHandle socket, void* buffer, std::int32_t length,
                            std::int32_t flags, std::string& ip, std::int32_t& port) override;
  std::int32_t SockSelect(std::vector<TIdStackSocketHandle>* readList,
                          std::vector<TIdStackSocketHandle>* writeList,
                          std::vector<TIdStackSocketHandle>* errorList,
                          std::int32_t timeoutMs) override;
  std::int32_t SockSend(TIdStackSocketHandle socket, const void* buffer, std::int32_t length,
                        std::int32_t flags) override;
  std::int32_t SockSendTo(TIdStackSocketHandle socket, const void* buffer, std::int32_t length,
                          std::int32_t flags, const TIdDottedAddress& ip,
                          std::int32_t port) override;
  std::int32_t SockSetOption(TIdStackSocketHandle socket, std::int32_t level, std::int32_t name,
                             const void* value, std::int32_t length) override;
  TIdStackSocketHandle SockOpen(std::int32_t family, std::int32_t type,
                                std::int32_t protocol) override;
  std::int32_t SockShutdown(TIdStackSocketHandle socket, std::int32_t how) override;
  std::int32_t SockLastError() override;
  void SockPeerName(TIdStackSocketHandle socket, std::int32_t& family, std::string& ip,
                    std::int32_t& port) override;
  void SockLocalName(TIdStackSocketHandle socket, std::int32_t& family, std::string& ip,
                     std::int32_t& port) override;
  std::int32_t SockGetOption(TIdStackSocketHandle socket, std::int32_t level, std::int32_t name,
                             void* value, std::int32_t& length) override;
  std::string AddressToText(const TIdIn4Addr& address) override;
  void TextToAddress(std::string_view text, TIdIn4Addr& address) override;

 private:
  // Reads the peer's or the socket's own address with getpeername or getsockname.
  void ReadSocketName(ws2::Tgetsockname* query, TIdStackSocketHandle socket, std::int32_t& family,
                      std::string& ip, std::int32_t& port);
};

std::unique_ptr<TIdStack> NewStackWindows();

}  // namespace orvo
