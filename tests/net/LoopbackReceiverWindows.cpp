// winsock2.h must come before windows.h, which would bring in the old winsock.h.
#include <winsock2.h>

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "LoopbackReceiver.h"

// The receiver over the real WinSock, linked at build time so that it checks the binding from
// outside. Under Wine its socket is a socket of the Linux loopback.
namespace orvo::test {

namespace {

SOCKET SocketOf(int handle) {
  return static_cast<SOCKET>(static_cast<unsigned>(handle));
}

}  // namespace

TLoopbackReceiver::TLoopbackReceiver() {
  WSADATA data{};
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
    throw std::runtime_error("receiver start-up");
  const SOCKET handle = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (handle == INVALID_SOCKET) {
    ::WSACleanup();
    throw std::runtime_error("receiver socket");
  }
  // Socket handles are small numbers; the shared header keeps them in an int.
  FSocket = static_cast<int>(handle);
  const int bufferSize = 1 << 20;
  ::setsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferSize),
               sizeof(bufferSize));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(handle);
    ::WSACleanup();
    throw std::runtime_error("receiver bind");
  }
  FPort = ntohs(address.sin_port);
}

TLoopbackReceiver::~TLoopbackReceiver() {
  ::closesocket(SocketOf(FSocket));
  ::WSACleanup();
}

std::optional<TDatagram> TLoopbackReceiver::Receive(std::chrono::milliseconds wait) {
  const SOCKET handle = SocketOf(FSocket);
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(handle, &ready);
  timeval timeout{static_cast<long>(wait.count() / 1000),
                  static_cast<long>((wait.count() % 1000) * 1000)};
  if (::select(0, &ready, nullptr, nullptr, &timeout) <= 0)
    return std::nullopt;
  std::vector<char> buffer(70000);
  sockaddr_in sender{};
  int length = sizeof(sender);
  const int received = ::recvfrom(handle, buffer.data(), static_cast<int>(buffer.size()), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &length);
  if (received < 0)
    return std::nullopt;
  return TDatagram{std::string(buffer.data(), static_cast<std::size_t>(received)),
                   ntohs(sender.sin_port)};
}

// Handles are multiples of 4; a socket is one of them. Wine does not count its handles for
// GetProcessHandleCount, so each candidate is asked whether it is open.
int OpenDescriptorCount() {
  int count = 0;
  for (std::uintptr_t value = 4; value < (1u << 16); value += 4) {
    DWORD flags = 0;
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
      ++count;
  }
  return count;
}

}  // namespace orvo::test
