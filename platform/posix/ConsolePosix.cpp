#include <cerrno>

#include <unistd.h>

#include "platform/Console.h"

namespace orvo::platform {

namespace {

// Windows marks codes of an application's own with bit 29, which no system code has: a failure
// without a Windows counterpart keeps its errno there, so it can't read as another failure.
constexpr std::int32_t kOwnCodeBit = 0x20000000;

// The Windows code of the same meaning for every failure a read or write of a standard
// descriptor can meet. A full disk is the text-file layer's own code 101.
std::int32_t IOErrorCode(int error) noexcept {
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
    case EAGAIN:
      return 232;  // ERROR_NO_DATA: the pipe is being closed, or has nothing now
    case ENOTCONN:
    case EDESTADDRREQ:
      return 233;  // ERROR_PIPE_NOT_CONNECTED
    case EFAULT:
      return 998;  // ERROR_NOACCESS
    case EIO:
      return 1117;  // ERROR_IO_DEVICE
    case ETIMEDOUT:
      return 1460;  // ERROR_TIMEOUT
    default:
      return kOwnCodeBit | error;
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
