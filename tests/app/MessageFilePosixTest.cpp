#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "app/MessageFile.h"

namespace orvo {
namespace {

// A pipe has no size to tell: its bytes are read as they come, into a block that grows.
class MessageFilePipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(FDir);
    ASSERT_EQ(::mkfifo(FPipe.c_str(), 0600), 0);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  // Writes `bytes` into the pipe and closes it. Opened for reading and writing, so neither side's
  // open waits for the other; each write waits at most a few seconds for the reader, then the
  // writer gives up and closes, so the reader always meets an end.
  void WriteIntoPipe(const std::string& bytes) const {
    const int pipe = ::open(FPipe.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (pipe < 0)
      return;
    std::size_t written = 0;
    while (written < bytes.size()) {
      pollfd ready{pipe, POLLOUT, 0};
      if (::poll(&ready, 1, 5000) != 1)
        break;
      const ssize_t count = ::write(pipe, bytes.data() + written, bytes.size() - written);
      if (count <= 0)
        break;
      written += static_cast<std::size_t>(count);
    }
    ::close(pipe);
  }

  std::filesystem::path FDir = std::filesystem::temp_directory_path() /
                               ("orvo-msgpipe-" + std::to_string(::getpid()) + "-" +
                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string FPipe = (FDir / "messages").string();
};

TEST_F(MessageFilePipeTest, ReadsEverythingWrittenIntoAPipe) {
  std::string bytes;
  for (int i = 0; bytes.size() < 700 * 1024; ++i)
    bytes += "line " + std::to_string(i) + "\n";
  std::thread writer([&] { WriteIntoPipe(bytes); });
  const TMessageFile file(FPipe);
  writer.join();
  EXPECT_EQ(file.Text().size(), bytes.size());
  EXPECT_TRUE(file.Text() == bytes) << "the bytes of the pipe, in order";
}

TEST_F(MessageFilePipeTest, AnEmptyPipeHasNoText) {
  std::thread writer([&] { WriteIntoPipe(""); });
  const TMessageFile file(FPipe);
  writer.join();
  EXPECT_TRUE(file.Text().empty());
}

}  // namespace
}  // namespace orvo
