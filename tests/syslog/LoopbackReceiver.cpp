#include "LoopbackReceiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

namespace orvo::testing {

LoopbackReceiver::LoopbackReceiver() : FSocket(socket(AF_INET, SOCK_DGRAM, 0)) {
  if (FSocket < 0)
    throw std::runtime_error("no receiver socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(FSocket);
    throw std::runtime_error("receiver socket does not bind");
  }
  FPort = ntohs(address.sin_port);
}

LoopbackReceiver::~LoopbackReceiver() {
  close(FSocket);
}

std::optional<LoopbackReceiver::Datagram> LoopbackReceiver::Receive(int waitMilliseconds) {
  pollfd ready{FSocket, POLLIN, 0};
  if (poll(&ready, 1, waitMilliseconds) != 1)
    return std::nullopt;
  std::array<char, 65536> buffer{};
  sockaddr_in peer{};
  socklen_t peerLength = sizeof peer;
  const ssize_t received = recvfrom(FSocket, buffer.data(), buffer.size(), 0,
                                    reinterpret_cast<sockaddr*>(&peer), &peerLength);
  if (received < 0)
    return std::nullopt;
  std::array<char, INET_ADDRSTRLEN> peerText{};
  inet_ntop(AF_INET, &peer.sin_addr, peerText.data(), peerText.size());
  return Datagram{std::string(buffer.data(), static_cast<std::size_t>(received)), peerText.data(),
                  ntohs(peer.sin_port)};
}

}  // namespace orvo::testing
