// A counting UDP receiver on 127.0.0.1 for the end-to-end benchmark (bench/run.sh).
//
//   loopback_receiver [--expect N] [--idle-ms MS] [--wait-ms MS] [--nap-us US]
//
// Binds 127.0.0.1 on a port the system chooses and writes that port as the first line on
// standard output. Then it drains the socket with recvmmsg in batches until it has counted N
// datagrams, or until no datagram came for MS milliseconds after the first one, or for --wait-ms
// before any came. Last it writes one line:
//
//   received <datagrams> bytes <bytes> dropped <kernel drops> rcvbuf <bytes>
//
// Once datagrams come, the receiver does not wait on the socket when it has caught up: it naps
// for a tenth of a millisecond and drains again, as long as datagrams keep coming. A receiver
// that waits on the socket must be woken by the sender's next sendto, and how often that happens
// depends on the sender's own pace: a sender a little slower than the receiver paid for two to
// three times as many wake-ups as the raw sendto loop, which measured the receiver rather than
// the sender. A nap ends by the receiver's own timer, and the receive buffer holds what comes
// meanwhile. --nap-us 0 waits on the socket instead.
//
// "dropped" is the socket's own overflow counter (SO_RXQ_OVFL): datagrams the kernel threw away
// because the receive buffer was full when they arrived. The buffer is made as large as the
// kernel allows (SO_RCVBUFFORCE as root, else SO_RCVBUF up to rmem_max).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr int kBatch = 256;
constexpr std::size_t kDatagramBuffer = 2048;
constexpr int kWantedReceiveBuffer = 512 * 1024 * 1024;
constexpr int kPollMilliseconds = 50;

struct TSettings {
  std::uint64_t Expect = 0;  // 0: no count to wait for, only the idle rule
  int IdleMilliseconds = 1000;
  int WaitMilliseconds = 30000;
  int NapMicroseconds = 100;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "loopback_receiver: %s: %s\n", what, std::strerror(errno));
  std::exit(2);
}

TSettings ReadSettings(int argc, char** argv) {
  TSettings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    const long long value = std::atoll(argv[i + 1]);
    if (name == "--expect")
      settings.Expect = static_cast<std::uint64_t>(value);
    else if (name == "--idle-ms")
      settings.IdleMilliseconds = static_cast<int>(value);
    else if (name == "--wait-ms")
      settings.WaitMilliseconds = static_cast<int>(value);
    else if (name == "--nap-us")
      settings.NapMicroseconds = static_cast<int>(value);
  }
  return settings;
}

int OpenSocket() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0)
    Fail("socket");
  int size = kWantedReceiveBuffer;
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof(size)) != 0)
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof(size));
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_RXQ_OVFL, &on, sizeof(on));
  const timeval poll{0, kPollMilliseconds * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &poll, sizeof(poll));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0)
    Fail("bind");
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    Fail("getsockname");
  std::printf("%u\n", ntohs(address.sin_port));
  std::fflush(stdout);
  return fd;
}

int ReceiveBufferSize(int fd) {
  int size = 0;
  socklen_t length = sizeof(size);
  ::getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, &length);
  return size;
}

// The overflow counter travels as a control message with each datagram; the latest one counts.
bool ReadDrops(msghdr& header, std::uint32_t& drops) {
  for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_RXQ_OVFL) {
      std::memcpy(&drops, CMSG_DATA(c), sizeof(drops));
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const TSettings settings = ReadSettings(argc, argv);
  const int fd = OpenSocket();

  std::vector<char> buffers(kBatch * kDatagramBuffer);
  std::vector<char> controls(kBatch * CMSG_SPACE(sizeof(std::uint32_t)));
  std::vector<iovec> vectors(kBatch);
  std::vector<mmsghdr> messages(kBatch);

  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  Clock::time_point last = start;
  std::uint64_t received = 0;
  std::uint64_t bytes = 0;
  std::uint32_t drops = 0;

  for (;;) {
    if (settings.Expect != 0 && received >= settings.Expect)
      break;
    for (int i = 0; i < kBatch; ++i) {
      vectors[i] = {buffers.data() + i * kDatagramBuffer, kDatagramBuffer};
      messages[i].msg_hdr = {};
      messages[i].msg_hdr.msg_iov = &vectors[i];
      messages[i].msg_hdr.msg_iovlen = 1;
      messages[i].msg_hdr.msg_control = controls.data() + i * CMSG_SPACE(sizeof(std::uint32_t));
      messages[i].msg_hdr.msg_controllen = CMSG_SPACE(sizeof(std::uint32_t));
    }
    // Napping only while datagrams come, so that a quiet socket still ends the run on time.
    const bool napping = settings.NapMicroseconds > 0 && received != 0 &&
                         Clock::now() - last < std::chrono::milliseconds(kPollMilliseconds);
    const int count =
        ::recvmmsg(fd, messages.data(), kBatch, napping ? MSG_DONTWAIT : MSG_WAITFORONE, nullptr);
    if (napping && count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      std::this_thread::sleep_for(std::chrono::microseconds(settings.NapMicroseconds));
      continue;
    }
    const Clock::time_point now = Clock::now();
    if (count > 0) {
      received += static_cast<std::uint64_t>(count);
      for (int i = 0; i < count; ++i)
        bytes += messages[i].msg_len;
      ReadDrops(messages[count - 1].msg_hdr, drops);
      last = now;
      continue;
    }
    if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
      Fail("recvmmsg");
    const auto quiet = std::chrono::duration_cast<std::chrono::milliseconds>(now - last).count();
    if (received == 0 ? quiet >= settings.WaitMilliseconds : quiet >= settings.IdleMilliseconds)
      break;
  }
  std::printf("received %llu bytes %llu dropped %u rcvbuf %d\n",
              static_cast<unsigned long long>(received), static_cast<unsigned long long>(bytes),
              drops, ReceiveBufferSize(fd));
  ::close(fd);
  return 0;
}
