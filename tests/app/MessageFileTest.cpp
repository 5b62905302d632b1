#include "app/MessageFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include "base/Exception.h"
#include "tests/support/TempDir.h"

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

// Taking lines off the end must find the same lines as reading forward, for every text of up to
// seven characters made of a letter, CR and LF.
TEST(TakeLastLineTest, FindsTheLinesAForwardReadingFinds) {
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
  for (const std::string& text : texts) {
    Lines backward;
    std::string_view rest = text;
    while (const auto line = text::TakeLastLine(rest)) {
      ASSERT_LE(backward.size(), text.size()) << "no end to the lines of a text";
      backward.insert(backward.begin(), *line);
    }
    EXPECT_EQ(backward, ForwardLines(text)) << "text of " << text.size() << " characters";
  }
}

// Long lines are searched several bytes at a time: line ends at every position of such a block,
// bytes that differ from CR and LF by one bit, and bytes of the upper half must all be told apart.
TEST(TakeLastLineTest, FindsTheLinesOfLongTextsAForwardReadingFinds) {
  using namespace std::string_view_literals;
  constexpr std::string_view alphabet =
      "\r\n\x0c\x0b\x0e\x8a\x8d\xff\x00 abcdefghijklmnopqrstuvwxyz"sv;
  std::mt19937 random(20261207);
  for (int round = 0; round < 20000; ++round) {
    const std::size_t length = random() % 48;
    // Some texts are mostly line ends, most mostly letters.
    const std::size_t firstChoice = round % 3 == 0 ? 0 : 9;
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
      const bool lineEnd = random() % 8 == 0;
      text += lineEnd ? alphabet[random() % 2]
                      : alphabet[firstChoice + random() % (alphabet.size() - firstChoice)];
    }
    Lines backward;
    std::string_view rest = text;
    while (const auto line = text::TakeLastLine(rest)) {
      ASSERT_LE(backward.size(), text.size()) << "no end to the lines of a text";
      backward.insert(backward.begin(), *line);
    }
    ASSERT_EQ(backward, ForwardLines(text)) << "round " << round;
  }
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

// Many bytes are compared in one step: a line end must be found at every offset within a step,
// in lines shorter and longer than a step, near the text's start and far from it.
TEST(TakeLastLineTest, FindsLineEndsAtEveryOffsetOfLongAndShortLines) {
  constexpr std::string_view lineEnds[] = {"\n", "\r", "\r\n"};
  for (std::size_t length = 1; length <= 100; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      for (const std::string_view lineEnd : lineEnds) {
        std::string text(length, 'm');
        text.insert(at, lineEnd);
        ASSERT_EQ(BackwardLines(text), ForwardLines(text))
            << "line end " << lineEnd.size() << " at " << at << " of " << length;
      }
    }
  }
  for (std::size_t first = 0; first < 70; ++first) {
    for (std::size_t second = first; second < 70; ++second) {
      for (const std::string_view firstEnd : lineEnds) {
        for (const std::string_view secondEnd : lineEnds) {
          std::string text(70, 'm');
          text.insert(second, secondEnd);
          text.insert(first, firstEnd);
          ASSERT_EQ(BackwardLines(text), ForwardLines(text))
              << "line ends at " << first << " and " << second;
        }
      }
    }
  }
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
  EXPECT_EQ(text::SplitLines(file.Text()), (Lines{"  b  ", "\xe3\x81\x82\tx"}));
}

TEST_F(MessageFileTest, AnEmptyFileHasNoLines) {
  EXPECT_TRUE(TMessageFile(Write("")).Text().empty());
}

TEST_F(MessageFileTest, AFileThatCannotBeOpenedFailsWithItsNameAsGiven) {
  const std::string missing = FDir.File("nope") + "/missing file.txt";
  try {
    TMessageFile file(missing);
    FAIL() << "no exception";
  } catch (const EConvertError&) {
    FAIL() << "the general exception type is expected";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ファイル " + missing + " は開けません");
  }
  try {
    TMessageFile file(FDir.Path());
    FAIL() << "a directory read as a file";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ファイル " + FDir.Path() + " は開けません");
  }
}

TEST_F(MessageFileTest, ReadsAFileWhoseSizeIsNotKnownBeforeReading) {
  // Files of the process file system tell the size 0 and still have a text.
  const std::string path = "/proc/self/status";
  if (!std::filesystem::exists(path))
    GTEST_SKIP() << "no " << path << " here";
  const TMessageFile file(path);
  EXPECT_TRUE(file.Text().starts_with("Name:")) << file.Text().substr(0, 40);
  EXPECT_GT(text::SplitLines(file.Text()).size(), 5u);
}

TEST_F(MessageFileTest, ReadsAFileLargerThanOneReadBlock) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i)
    bytes += "line " + std::to_string(i) + "\r\n";
  const TMessageFile file(Write(bytes));
  EXPECT_EQ(file.Text().size(), bytes.size());
  const Lines lines = text::SplitLines(file.Text());
  ASSERT_EQ(lines.size(), 20000u);
  EXPECT_EQ(lines.front(), "line 0");
  EXPECT_EQ(lines.back(), "line 19999");
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
  EXPECT_EQ(text::SplitLines(whole.Text()).size(), bytes.size() / 100);
}

}  // namespace
}  // namespace orvo
