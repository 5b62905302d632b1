#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "app/MessageFile.h"
#include "tests/support/TempDir.h"

namespace orvo {
namespace {

// A pipe has no size to tell: its bytes are read as they come, into a block that grows.
class MessageFilePipeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(::mkfifo(FPipe.c_str(), 0600), 0); }

  // Writes `bytes` into the pipe and closes it, once the reader has it open: a writer that came
  // and went before the reader opened would leave the reader's open waiting for ever. The
  // writer's open does not wait (it fails while there is no reader), so it is tried for at most
  // a few seconds; each write too waits at most a few seconds for the reader, then the writer
  // gives up and closes, so the reader always meets an end.
  void WriteIntoPipe(const std::string& bytes) const {
    int pipe = -1;
    for (int attempt = 0; attempt < 500 && pipe < 0; ++attempt) {
      pipe = ::open(FPipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (pipe < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
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

  test::TTempDir FDir;
  std::string FPipe = FDir.File("messages");
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

// A sparse file tells far more than it holds before its first NUL; room for the told 200 GiB
// is never asked for, so its text reads.
TEST(MessageFileSparseTest, ANulAfterTheFirstPieceEndsASparseFileWithoutRoomForItsSize) {
  const test::TTempDir dir;
  const std::string text = std::string(70000, 'a') + "\n";
  const std::string path = dir.Write("sparse", text);
  std::error_code error;
  std::filesystem::resize_file(path, 200ULL << 30, error);
  if (error)
    GTEST_SKIP() << "no sparse file of 200 GiB here: " << error.message();
  EXPECT_EQ(TMessageFile(path).Text(), text);
}

}  // namespace
}  // namespace orvo
