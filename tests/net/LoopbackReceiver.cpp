#include "LoopbackReceiver.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace orvo::test {

TLoopbackReceiver::TLoopbackReceiver() {
  FSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (FSocket < 0)
    throw std::runtime_error("receiver socket");
  const int bufferSize = 1 << 20;
  ::setsockopt(FSocket, SOL_SOCKET, SO_RCVBUF, &bufferSize, sizeof(bufferSize));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (::bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(FSocket);
    throw std::runtime_error("receiver bind");
  }
  FPort = ntohs(address.sin_port);
}

TLoopbackReceiver::~TLoopbackReceiver() {
  ::close(FSocket);
}

std::optional<TDatagram> TLoopbackReceiver::Receive(std::chrono::milliseconds wait) {
  pollfd entry{FSocket, POLLIN, 0};
  if (::poll(&entry, 1, static_cast<int>(wait.count())) <= 0)
    return std::nullopt;
  std::vector<char> buffer(70000);
  sockaddr_in sender{};
  socklen_t length = sizeof(sender);
  const ssize_t received = ::recvfrom(FSocket, buffer.data(), buffer.size(), 0,
                                      reinterpret_cast<sockaddr*>(&sender), &length);
  if (received < 0)
    return std::nullopt;
  return TDatagram{std::string(buffer.data(), static_cast<std::size_t>(received)),
                   ntohs(sender.sin_port)};
}

int OpenDescriptorCount() {
  int count = 0;
  DIR* directory = ::opendir("/proc/self/fd");
  if (directory == nullptr)
    return -1;
  while (::readdir(directory) != nullptr)
    ++count;
  ::closedir(directory);
  return count;
}

}  // namespace orvo::test
