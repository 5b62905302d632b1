// This machine's limit for the end-to-end benchmark (bench/run.sh): one sendto per datagram and
// nothing else.
//
//   raw_send_loop PORT FILE
//
// Takes the message lines of FILE the way orvologger takes them (split at LF, CR or CR LF, cut
// at a NUL, trimmed, blank lines skipped, last line first) and builds every datagram before the
// clock starts, with the header orvologger writes for host 127.0.0.1 ("<13>Mmm dd hh:mm:ss
// 127.0.0.1 :"), so each datagram has the size orvologger's has. Then it times a loop that only
// calls sendto for each one to 127.0.0.1:PORT, and writes one line:
//
//   sent <datagrams> seconds <loop time> rate <datagrams per second>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kMaxDatagram = 1024;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "raw_send_loop: %s: %s\n", what, std::strerror(errno));
  std::exit(2);
}

std::string ReadWhole(const char* path) {
  const int fd = ::open(path, O_RDONLY);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0)
    Fail(path);
  std::string text(static_cast<std::size_t>(status.st_size), '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
    if (got <= 0)
      Fail(path);
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return text;
}

std::string_view Trim(std::string_view line) {
  while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32)
    line.remove_prefix(1);
  while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32)
    line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> MessageLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    const std::string_view line = Trim(text.substr(start, end - start));
    if (!line.empty())
      lines.push_back(line);
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

std::string Header() {
  static constexpr std::array<const char*, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "<13>%s %2d %02d:%02d:%02d 127.0.0.1 :",
                months[static_cast<std::size_t>(local.tm_mon)], local.tm_mday, local.tm_hour,
                local.tm_min, local.tm_sec);
  return text.data();
}

struct TDatagram {
  std::size_t Offset;
  std::size_t Length;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: raw_send_loop PORT FILE\n");
    return 2;
  }
  const std::string text = ReadWhole(argv[2]);
  const std::vector<std::string_view> lines = MessageLines(text);
  const std::string header = Header();

  std::string all;
  std::vector<TDatagram> datagrams;
  datagrams.reserve(lines.size());
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const std::size_t offset = all.size();
    all.append(header).append(*line);
    const std::size_t length = std::min(all.size() - offset, kMaxDatagram);
    all.resize(offset + length);
    datagrams.push_back({offset, length});
  }

  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0)
    Fail("socket");
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[1])));
  target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

  const auto start = std::chrono::steady_clock::now();
  std::size_t sent = 0;
  for (const TDatagram& d : datagrams) {
    const ssize_t n = ::sendto(fd, all.data() + d.Offset, d.Length, 0,
                               reinterpret_cast<const sockaddr*>(&target), sizeof(target));
    if (n != static_cast<ssize_t>(d.Length))
      Fail("sendto");
    ++sent;
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  ::close(fd);
  std::printf("sent %zu seconds %.6f rate %.0f\n", sent, seconds.count(),
              seconds.count() > 0 ? static_cast<double>(sent) / seconds.count() : 0.0);
  return 0;
}
