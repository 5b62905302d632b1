#include <fstream>
#include <iterator>
#include <optional>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/GivenArguments.h"
#include "platform/Process.h"

namespace orvo::platform {

namespace {

// The vector the kernel recorded at exec: zero-terminated strings, one after the other.
std::vector<std::string> RecordedArguments() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> arguments;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos)
      end = all.size();
    arguments.emplace_back(all, start, end - start);
    start = end + 1;
  }
  return arguments;
}

}  // namespace

std::string ModuleFileName() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0)
      return {};
    if (static_cast<std::size_t>(length) < path.size()) {
      path.resize(static_cast<std::size_t>(length));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::int32_t CurrentProcessId() noexcept {
  return static_cast<std::int32_t>(::getpid());
}

void OpenClosedStandardDescriptors() noexcept {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
      continue;
    // open hands out the lowest free number, which is fd itself: the lower ones are open by now.
    const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened != -1 && opened != fd)
      ::close(opened);
  }
}

void IgnoreBrokenPipes() noexcept {
  ::signal(SIGPIPE, SIG_IGN);
}

void SetProgramArguments(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc && argv[i] != nullptr; ++i)
    arguments.emplace_back(argv[i]);
  SetProgramArguments(std::move(arguments));
}

std::vector<std::string> ProgramArguments() {
  if (auto given = process::GivenArguments())
    return std::move(*given);
  return RecordedArguments();
}

std::optional<std::string> CommandLineText() {
  return std::nullopt;
}

}  // namespace orvo::platform
