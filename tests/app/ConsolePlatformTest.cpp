#include "platform/Console.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <string_view>
#include <utility>

#include "app/ConsoleIO.h"
#include "base/Exception.h"
#include "platform/Process.h"
#include "platform/posix/ConsoleErrorCode.h"
#include "tests/support/Raised.h"

namespace orvo::platform {
namespace {

// Puts a file in the place of one of the standard descriptors for the lifetime of the guard.
class TRedirect {
 public:
  TRedirect(int target, const char* path, int flags) : FTarget(target), FSaved(::dup(target)) {
    const int fd = ::open(path, flags);
    EXPECT_GE(fd, 0) << path;
    ::dup2(fd, target);
    ::close(fd);
  }
  ~TRedirect() {
    ::dup2(FSaved, FTarget);
    ::close(FSaved);
  }

 private:
  int FTarget;
  int FSaved;
};

TEST(ConsolePlatformTest, AFullDiskIsCode101) {
  std::int32_t error = 0;
  {
    const TRedirect redirect(STDOUT_FILENO, "/dev/full", O_WRONLY);
    error = WriteStdOut("x\r\n");
  }
  EXPECT_EQ(error, 101);
  EXPECT_EQ(console::IOErrorText(error), "ディスクがいっぱいです");
}

// Failures with no text of their own carry the Windows code of the same meaning, never the
// errno, whose number names another failure there (EISDIR is 21, EPIPE 32, EBADF 9).
TEST(ConsolePlatformTest, OtherFailuresCarryTheWindowsCode) {
  const std::string dir = std::filesystem::temp_directory_path().string();
  char buffer[16];
  TConsoleRead read{};
  {
    const TRedirect redirect(STDIN_FILENO, dir.c_str(), O_RDONLY | O_DIRECTORY);
    read = ReadStdIn(buffer, sizeof buffer);
  }
  EXPECT_EQ(read.Count, 0u);
  IgnoreBrokenPipes();
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  ::close(pipeEnds[0]);
  const int savedOut = ::dup(STDOUT_FILENO);
  ::dup2(pipeEnds[1], STDOUT_FILENO);
  const std::int32_t brokenPipe = WriteStdOut("x");
  ::close(STDOUT_FILENO);
  const std::int32_t closed = WriteStdOut("x");
  ::dup2(savedOut, STDOUT_FILENO);
  ::close(savedOut);
  ::close(pipeEnds[1]);
  const std::pair<std::int32_t, std::string_view> cases[] = {
      {read.Error, "I/O エラー (1)"}, {brokenPipe, "I/O エラー (232)"}, {closed, "I/O エラー (6)"}};
  for (const auto& [code, text] : cases) {
    const auto error = test::Raised<Exception>([&] { console::RaiseIOError(code); });
    ASSERT_TRUE(error) << code;
    EXPECT_EQ(error->Message(), text);
  }
}

// Every failure of a standard descriptor has the Windows code of the same meaning, or keeps its
// errno in the application's own range.
TEST(ConsolePlatformTest, EachErrnoHasTheWindowsCodeOfTheSameMeaning) {
  const std::pair<int, std::int32_t> cases[] = {{EISDIR, 1},
                                                {ENOENT, 2},
                                                {ENOTDIR, 3},
                                                {EMFILE, 4},
                                                {ENFILE, 4},
                                                {EACCES, 5},
                                                {EPERM, 5},
                                                {EROFS, 5},
                                                {EBADF, 6},
                                                {ENOMEM, 8},
                                                {ENOBUFS, 8},
                                                {ENXIO, 55},
                                                {ENODEV, 55},
                                                {ECONNRESET, 64},
                                                {EINVAL, 87},
                                                {ENOSPC, 101},
                                                {EDQUOT, 101},
                                                {EFBIG, 223},
                                                {EPIPE, 232},
                                                {ENOTCONN, 233},
                                                {EDESTADDRREQ, 233},
                                                {EFAULT, 998},
                                                {EIO, 1117},
                                                {ECONNREFUSED, 1225},
                                                {ENETUNREACH, 1231},
                                                {EHOSTUNREACH, 1232},
                                                {ECONNABORTED, 1236},
                                                {ETIMEDOUT, 1460},
                                                {ELOOP, 0x20000000 | ELOOP}};
  for (const auto& [error, code] : cases)
    EXPECT_EQ(ConsoleErrorCode(error), code) << error;
}

TEST(ConsolePlatformTest, ReadsAndWritesWholeTexts) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("orvo-console-" + std::to_string(::getpid()));
  std::string big(200000, 'q');
  {
    const TRedirect redirect(STDERR_FILENO, "/dev/null", O_WRONLY);
    EXPECT_EQ(WriteStdErr(big), 0);
  }
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
  }
  {
    const TRedirect redirect(STDIN_FILENO, path.c_str(), O_RDONLY);
    char buffer[8];
    const TConsoleRead first = ReadStdIn(buffer, sizeof buffer);
    EXPECT_EQ(first.Error, 0);
    EXPECT_EQ(std::string(buffer, first.Count), "abc");
    const TConsoleRead end = ReadStdIn(buffer, sizeof buffer);
    EXPECT_EQ(end.Count, 0u);
    EXPECT_EQ(end.Error, 0);
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace orvo::platform
