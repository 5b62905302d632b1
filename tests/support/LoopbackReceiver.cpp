#include "LoopbackReceiver.h"

#ifdef _WIN32
// winsock2.h must come before windows.h, which would bring in the old winsock.h.
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <stdexcept>

namespace orvo::test {

namespace {

#ifdef _WIN32
using TSocket = SOCKET;
using TAddressLength = int;
constexpr TSocket kNoSocket = INVALID_SOCKET;

// Each receiver holds its own reference to WinSock, so it works before and after the code
// under test starts and stops its own.
void StartSockets() {
  WSADATA data{};
  if (::WSAStartup(MAKEWORD(2, 2), &data) != 0)
    throw std::runtime_error("receiver start-up");
}
void StopSockets() {
  ::WSACleanup();
}
void CloseSocket(TSocket handle) {
  ::closesocket(handle);
}
#else
using TSocket = int;
using TAddressLength = socklen_t;
constexpr TSocket kNoSocket = -1;

void StartSockets() {}
void StopSockets() {}
void CloseSocket(TSocket handle) {
  ::close(handle);
}
#endif

TSocket SocketOf(std::uintptr_t handle) {
  return static_cast<TSocket>(handle);
}

// Waits until the socket has a datagram; select, because both platforms have it alike.
bool WaitReadable(TSocket handle, std::chrono::milliseconds wait) {
  fd_set ready;
  FD_ZERO(&ready);
  FD_SET(handle, &ready);
  timeval timeout{static_cast<long>(wait.count() / 1000),
                  static_cast<long>((wait.count() % 1000) * 1000)};
  return ::select(static_cast<int>(handle) + 1, &ready, nullptr, nullptr, &timeout) > 0;
}

}  // namespace

TLoopbackReceiver::TLoopbackReceiver() {
  StartSockets();
  const TSocket handle = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (handle == kNoSocket) {
    StopSockets();
    throw std::runtime_error("receiver socket");
  }
  FSocket = static_cast<std::uintptr_t>(handle);
  // Room for every datagram of a burst the tests send before they read.
  const int bufferSize = 1 << 20;
  ::setsockopt(handle, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferSize),
               sizeof(bufferSize));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  TAddressLength length = sizeof(address);
  if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    CloseSocket(handle);
    StopSockets();
    throw std::runtime_error("receiver bind");
  }
  FPort = ntohs(address.sin_port);
}

TLoopbackReceiver::~TLoopbackReceiver() {
  CloseSocket(SocketOf(FSocket));
  StopSockets();
}

std::optional<TDatagram> TLoopbackReceiver::Receive(std::chrono::milliseconds wait) {
  const TSocket handle = SocketOf(FSocket);
  if (!WaitReadable(handle, wait))
    return std::nullopt;
  std::string buffer(70000, '\0');
  sockaddr_in sender{};
  TAddressLength length = sizeof(sender);
  const auto received = ::recvfrom(handle, buffer.data(), static_cast<int>(buffer.size()), 0,
                                   reinterpret_cast<sockaddr*>(&sender), &length);
  if (received < 0)
    return std::nullopt;
  buffer.resize(static_cast<std::size_t>(received));
  return TDatagram{std::move(buffer), ntohs(sender.sin_port)};
}

std::vector<std::string> TLoopbackReceiver::ReceiveAll(std::chrono::milliseconds quiet) {
  std::vector<std::string> payloads;
  // Bounded: no test sends more than a few thousand datagrams.
  for (int i = 0; i < 100000; ++i) {
    auto datagram = Receive(quiet);
    if (!datagram)
      break;
    payloads.push_back(std::move(datagram->Payload));
  }
  return payloads;
}

}  // namespace orvo::test
