#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Process.h"

namespace orvo::platform {

namespace {

std::vector<std::string> gArguments;

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
  gArguments.assign(argv, argv + argc);
}

TCommandLine ProgramCommandLine() {
  return gArguments;
}

}  // namespace orvo::platform
