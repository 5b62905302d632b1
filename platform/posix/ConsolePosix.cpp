#include <cerrno>

#include <unistd.h>

#include "platform/Console.h"

namespace orvo::platform {

namespace {

// The system's codes for the failures the console texts name; every other code stays as is.
std::int32_t IOErrorCode(int error) noexcept {
  switch (error) {
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case EMFILE:
      return 4;
    case EACCES:
    case EPERM:
      return 5;
    case ENOSPC:
      return 101;
    default:
      return error;
  }
}

std::int32_t WriteAll(int fd, std::string_view text) noexcept {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return IOErrorCode(errno);
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace

TConsoleRead ReadStdIn(char* buffer, std::size_t size) noexcept {
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, buffer, size);
    if (count >= 0)
      return {static_cast<std::size_t>(count), 0};
    if (errno != EINTR)
      return {0, IOErrorCode(errno)};
  }
}

std::int32_t WriteStdOut(std::string_view text) noexcept {
  return WriteAll(STDOUT_FILENO, text);
}

std::int32_t WriteStdErr(std::string_view text) noexcept {
  return WriteAll(STDERR_FILENO, text);
}

bool LineFeedEndsInputLine() noexcept {
  return true;
}

}  // namespace orvo::platform
