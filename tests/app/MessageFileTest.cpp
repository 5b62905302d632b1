#include "app/MessageFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/Exception.h"

namespace orvo {
namespace {

using Lines = std::vector<std::string_view>;

TEST(SplitLinesTest, EveryKindOfLineEndEndsOneLine) {
  EXPECT_EQ(text::SplitLines("a\nb\rc\r\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(text::SplitLines("a\r\n\r\nb\n\rc"), (Lines{"a", "", "b", "", "c"}))
      << "LF CR is two line ends";
  EXPECT_EQ(text::SplitLines("a\n"), (Lines{"a"})) << "no empty line after a final line end";
  EXPECT_EQ(text::SplitLines("a\r"), (Lines{"a"}));
  EXPECT_EQ(text::SplitLines("\n"), (Lines{""}));
  EXPECT_EQ(text::SplitLines(""), Lines{});
}

TEST(SplitLinesTest, ANulEndsTheText) {
  using namespace std::string_view_literals;
  EXPECT_EQ(text::SplitLines("x\0y"sv), (Lines{"x"}));
  EXPECT_EQ(text::SplitLines("a\nb\0\nc\n"sv), (Lines{"a", "b"}));
  EXPECT_EQ(text::SplitLines("\0a"sv), Lines{});
}

TEST(SplitLinesTest, LinesAreViewsIntoTheText) {
  const std::string text = "one\ntwo";
  const Lines lines = text::SplitLines(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].data(), text.data() + 4);
}

class MessageFileTest : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(FDir); }

  std::string Write(const std::string& bytes) {
    std::filesystem::create_directories(FDir);
    const std::string path = (FDir / "messages.txt").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::filesystem::path FDir =
      std::filesystem::temp_directory_path() /
      ("orvo-msgfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(MessageFileTest, ReadsEveryLineUnchanged) {
  const std::string path = Write(std::string("  b  \r\n\xe3\x81\x82\tx\n\0tail", 15));
  const TMessageFile file(path);
  EXPECT_EQ(file.Lines(), (Lines{"  b  ", "\xe3\x81\x82\tx"}));
}

TEST_F(MessageFileTest, AnEmptyFileHasNoLines) {
  EXPECT_TRUE(TMessageFile(Write("")).Lines().empty());
}

TEST_F(MessageFileTest, AFileThatCannotBeOpenedFailsWithItsNameAsGiven) {
  const std::string missing = (FDir / "nope" / "missing file.txt").string();
  try {
    TMessageFile file(missing);
    FAIL() << "no exception";
  } catch (const EConvertError&) {
    FAIL() << "the general exception type is expected";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ファイル " + missing + " は開けません");
  }
  std::filesystem::create_directories(FDir);
  try {
    TMessageFile file(FDir.string());
    FAIL() << "a directory read as a file";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ファイル " + FDir.string() + " は開けません");
  }
}

TEST_F(MessageFileTest, ReadsAFileLargerThanOneReadBlock) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i)
    bytes += "line " + std::to_string(i) + "\r\n";
  const TMessageFile file(Write(bytes));
  ASSERT_EQ(file.Lines().size(), 20000u);
  EXPECT_EQ(file.Lines().front(), "line 0");
  EXPECT_EQ(file.Lines().back(), "line 19999");
}

}  // namespace
}  // namespace orvo
