#include "app/MessageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "tests/support/Raised.h"
#include "tests/support/TempDir.h"

namespace orvo {
namespace {

class MessageFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) { return FDir.Write("messages.txt", bytes); }

  test::TTempDir FDir;
};

TEST_F(MessageFileTest, ReadsEveryLineUnchanged) {
  const std::string path = Write(std::string("  b  \r\n\xe3\x81\x82\tx\n\0tail", 15));
  const TMessageFile file(path);
  EXPECT_EQ(file.Text(), "  b  \r\n\xe3\x81\x82\tx\n") << "the text ends at its NUL";
}

TEST_F(MessageFileTest, AnEmptyFileHasNoLines) {
  EXPECT_TRUE(TMessageFile(Write("")).Text().empty());
}

TEST_F(MessageFileTest, AFileThatCannotBeOpenedFailsWithItsNameAsGiven) {
  const std::string missing = FDir.File("nope") + "/missing file.txt";
  for (const std::string& name : {missing, FDir.Path()}) {
    const auto failure = test::Raised<Exception>([&] { TMessageFile file(name); });
    ASSERT_TRUE(failure) << name;
    EXPECT_EQ(failure->Message(), "ファイル " + name + " は開けません");
  }
}

TEST_F(MessageFileTest, ReadsAFileWhoseSizeIsNotKnownBeforeReading) {
  // Files of the process file system tell the size 0 and still have a text.
  const std::string path = "/proc/self/status";
  if (!std::filesystem::exists(path))
    GTEST_SKIP() << "no " << path << " here";
  const TMessageFile file(path);
  EXPECT_TRUE(file.Text().starts_with("Name:")) << file.Text().substr(0, 40);
  EXPECT_GT(std::count(file.Text().begin(), file.Text().end(), '\n'), 5);
}

// Large files are read in several pieces into one block; the first NUL ends the text whichever
// piece it falls in, at a piece's first or last byte too, and a later NUL does not move the end.
TEST_F(MessageFileTest, TheFirstNulEndsTheTextOfALargeFileWhereverItFalls) {
  std::string bytes;
  while (bytes.size() < 3 * 1024 * 1024)
    bytes += std::string(99, 'x') + "\n";
  const std::size_t mib = 1024 * 1024;
  for (const std::size_t nulAt : {mib - 1, mib, mib + 1, 2 * mib + 12345}) {
    std::string withNuls = bytes;
    withNuls[nulAt] = '\0';
    withNuls[withNuls.size() - 1] = '\0';
    const TMessageFile file(Write(withNuls));
    EXPECT_EQ(file.Text(), std::string_view(bytes).substr(0, nulAt)) << "NUL at " << nulAt;
  }
  const TMessageFile whole(Write(bytes));
  EXPECT_EQ(whole.Text(), bytes);
}

}  // namespace
}  // namespace orvo
