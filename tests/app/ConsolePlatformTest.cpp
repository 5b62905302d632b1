#include "platform/Console.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "app/ConsoleIO.h"
#include "base/Exception.h"

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

TEST(ConsolePlatformTest, OtherFailuresKeepTheSystemCode) {
  const std::string dir = std::filesystem::temp_directory_path().string();
  const TRedirect redirect(STDIN_FILENO, dir.c_str(), O_RDONLY | O_DIRECTORY);
  char buffer[16];
  const TConsoleRead read = ReadStdIn(buffer, sizeof buffer);
  EXPECT_EQ(read.Count, 0u);
  EXPECT_EQ(read.Error, EISDIR);
  try {
    console::RaiseIOError(read.Error);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "I/O エラー (" + std::to_string(EISDIR) + ")");
  }
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
