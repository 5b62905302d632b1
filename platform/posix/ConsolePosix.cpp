#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Console.h"
#include "platform/posix/ConsoleErrorCode.h"

namespace orvo::platform {

namespace {

constexpr std::int32_t kOwnCodeBit = 0x20000000;

// A descriptor its parent left non-blocking may have nothing to give or no room now: the call
// waits until it has, as standard handles always do on Windows. False when waiting fails.
bool WaitUntilReady(int fd, short event) noexcept {
  pollfd watch{fd, event, 0};
  int ready = 0;
  while ((ready = ::poll(&watch, 1, -1)) < 0 && errno == EINTR) {
  }
  return ready > 0;
}

bool MustWait(int error, int fd, short event) noexcept {
  return (error == EAGAIN || error == EWOULDBLOCK) && WaitUntilReady(fd, event);
}

std::int32_t WriteAll(int fd, std::string_view text) noexcept {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR || MustWait(errno, fd, POLLOUT))
        continue;
      return ConsoleErrorCode(errno);
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace

std::int32_t ConsoleErrorCode(int error) noexcept {
  switch (error) {
    case EISDIR:
      return 1;  // ERROR_INVALID_FUNCTION
    case ENOENT:
      return 2;  // ERROR_FILE_NOT_FOUND
    case ENOTDIR:
      return 3;  // ERROR_PATH_NOT_FOUND
    case EMFILE:
    case ENFILE:
      return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case EACCES:
    case EPERM:
    case EROFS:
      return 5;  // ERROR_ACCESS_DENIED
    case EBADF:
      return 6;  // ERROR_INVALID_HANDLE
    case ENOMEM:
    case ENOBUFS:
      return 8;  // ERROR_NOT_ENOUGH_MEMORY
    case ENXIO:
    case ENODEV:
      return 55;  // ERROR_DEV_NOT_EXIST
    case ECONNRESET:
      return 64;  // ERROR_NETNAME_DELETED
    case EINVAL:
      return 87;  // ERROR_INVALID_PARAMETER
    case ENOSPC:
    case EDQUOT:
      return 101;
    case EFBIG:
      return 223;  // ERROR_FILE_TOO_LARGE
    case EPIPE:
      return 232;  // ERROR_NO_DATA: the pipe is being closed
    case ENOTCONN:
    case EDESTADDRREQ:
      return 233;  // ERROR_PIPE_NOT_CONNECTED
    case EFAULT:
      return 998;  // ERROR_NOACCESS
    case EIO:
      return 1117;  // ERROR_IO_DEVICE
    case ECONNREFUSED:
      return 1225;  // ERROR_CONNECTION_REFUSED
    case ENETUNREACH:
      return 1231;  // ERROR_NETWORK_UNREACHABLE
    case EHOSTUNREACH:
      return 1232;  // ERROR_HOST_UNREACHABLE
    case ECONNABORTED:
      return 1236;  // ERROR_CONNECTION_ABORTED
    case ETIMEDOUT:
      return 1460;  // ERROR_TIMEOUT
    default:
      return kOwnCodeBit | error;
  }
}

TConsoleRead ReadStdIn(char* buffer, std::size_t size) noexcept {
  for (;;) {
    const ssize_t count = ::read(STDIN_FILENO, buffer, size);
    if (count >= 0)
      return {static_cast<std::size_t>(count), 0};
    if (errno != EINTR && !MustWait(errno, STDIN_FILENO, POLLIN))
      return {0, ConsoleErrorCode(errno)};
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
