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

using Lines = std::vector<std::string_view>;

// The lines as a forward reading finds them: each line runs to the next CR or LF, and an LF
// right after a CR belongs to the CR's line end.
Lines ForwardLines(std::string_view text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

// Lines taken off the end of `text`, put back in text order.
Lines BackwardLines(std::string_view text) {
  Lines lines;
  std::string_view rest = text;
  while (const auto line = text::TakeLastLine(rest)) {
    if (lines.size() > text.size())
      break;  // more lines than characters: the search went wrong, and the comparison says so
    lines.insert(lines.begin(), *line);
  }
  return lines;
}

// Taking lines off the end finds the lines of the table, and the lines a forward reading finds
// for every text of up to seven characters made of a letter, CR and LF. Long lines are searched
// many bytes at a time, so line ends also stand at every offset of lines shorter and longer than
// one step, alone and in pairs, among bytes that differ from CR or LF by one bit.
TEST(TakeLastLineTest, FindsTheLinesAForwardReadingFinds) {
  const std::string longLine(100, 'm');
  const struct {
    std::string text;
    Lines lines;
  } rows[] = {
      {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},  // LF CR is two line ends
      {"a\n", {"a"}},                                // no empty line after a final line end
      {"a\r", {"a"}},
      {"\n", {""}},
      {"", {}},
      {longLine + "\r\n" + longLine, {longLine, longLine}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(BackwardLines(row.text), row.lines) << row.text;
    EXPECT_EQ(ForwardLines(row.text), row.lines) << row.text;
  }
  constexpr std::string_view alphabet = "a\r\n";
  std::vector<std::string> texts{""};
  for (std::size_t length = 1; length <= 7; ++length) {
    const std::size_t shorter = texts.size();
    for (std::size_t i = 0; i < shorter; ++i) {
      if (texts[i].size() == length - 1) {
        for (char c : alphabet)
          texts.push_back(texts[i] + c);
      }
    }
  }
  ASSERT_EQ(texts.size(), 3280u);
  using namespace std::string_view_literals;
  constexpr std::string_view lineEnds[] = {"\n", "\r", "\r\n"};
  for (const char filler : "m\x0c\x0b\x0e\x8a\x8d\xff\x00"sv) {
    for (std::size_t length = 1; length <= 70; ++length) {
      for (std::size_t at = 0; at <= length; ++at) {
        for (const std::string_view lineEnd : lineEnds)
          texts.push_back(std::string(length, filler).insert(at, lineEnd));
      }
    }
  }
  for (std::size_t first = 0; first < 70; ++first) {
    for (std::size_t second = first; second < 70; second += 3) {
      for (const std::string_view lineEnd : lineEnds)
        texts.push_back(std::string(70, 'm').insert(second, lineEnd).insert(first, "\n"));
    }
  }
  for (const std::string& text : texts)
    EXPECT_EQ(BackwardLines(text), ForwardLines(text))
        << "text of " << text.size() << " characters";
}

TEST(TakeLastLineTest, TakesTheLastLineAndLeavesTheRestWithItsLineEnd) {
  std::string_view rest = "one\r\ntwo\n";
  EXPECT_EQ(text::TakeLastLine(rest), "two");
  EXPECT_EQ(rest, "one\r\n");
  EXPECT_EQ(text::TakeLastLine(rest), "one");
  EXPECT_EQ(rest, "");
  EXPECT_EQ(text::TakeLastLine(rest), std::nullopt);
}

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
