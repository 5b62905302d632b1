#include "base/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Exception.h"
#include "tests/support/Raised.h"

namespace orvo::text {
namespace {

TEST(ReadIntegerTest, ReadsSignedDecimal) {
  EXPECT_EQ(TryReadInteger("0"), 0);
  EXPECT_EQ(TryReadInteger("514"), 514);
  EXPECT_EQ(TryReadInteger("+7"), 7);
  EXPECT_EQ(TryReadInteger("-7"), -7);
  EXPECT_EQ(TryReadInteger("-0"), 0);
  EXPECT_EQ(TryReadInteger("010"), 10) << "leading zeros are plain decimal";
  EXPECT_EQ(TryReadInteger("0000000000000000000042"), 42);
}

TEST(ReadIntegerTest, DecimalStopsAtTheSigned32BitRange) {
  EXPECT_EQ(TryReadInteger("2147483647"), 2147483647);
  EXPECT_EQ(TryReadInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(TryReadInteger("2147483648"), std::nullopt);
  EXPECT_EQ(TryReadInteger("-2147483649"), std::nullopt);
  EXPECT_EQ(TryReadInteger("99999999999999999999999"), std::nullopt);
}

TEST(ReadIntegerTest, ReadsEveryHexPrefixInEitherCase) {
  EXPECT_EQ(TryReadInteger("$1F"), 31);
  EXPECT_EQ(TryReadInteger("x1f"), 31);
  EXPECT_EQ(TryReadInteger("X1F"), 31);
  EXPECT_EQ(TryReadInteger("0x1f"), 31);
  EXPECT_EQ(TryReadInteger("0XaB"), 171);
}

TEST(ReadIntegerTest, HexIsThe32BitPatternOfAtMostEightDigits) {
  EXPECT_EQ(TryReadInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(TryReadInteger("0x80000000"), INT32_MIN);
  EXPECT_EQ(TryReadInteger("$7FFFFFFF"), INT32_MAX);
  EXPECT_EQ(TryReadInteger("$00000000F"), std::nullopt) << "nine digits do not read";
  EXPECT_EQ(TryReadInteger("$"), std::nullopt);
  EXPECT_EQ(TryReadInteger("0x"), std::nullopt);
  EXPECT_EQ(TryReadInteger("$G"), std::nullopt);
}

TEST(ReadIntegerTest, NoSignBeforeAHexPrefix) {
  EXPECT_EQ(TryReadInteger("-$1"), std::nullopt);
  EXPECT_EQ(TryReadInteger("+0x1"), std::nullopt);
}

TEST(ReadIntegerTest, OnlyLeadingBlanksAreSkipped) {
  EXPECT_EQ(TryReadInteger("   12"), 12);
  EXPECT_EQ(TryReadInteger("  $A"), 10);
  EXPECT_EQ(TryReadInteger("12 "), std::nullopt);
  EXPECT_EQ(TryReadInteger("\t12"), std::nullopt);
  EXPECT_EQ(TryReadInteger("- 1"), std::nullopt);
  EXPECT_EQ(TryReadInteger("1 2"), std::nullopt);
}

TEST(ReadIntegerTest, EmptyAndBlankTextsDoNotRead) {
  EXPECT_EQ(TryReadInteger(""), std::nullopt);
  EXPECT_EQ(TryReadInteger("   "), std::nullopt);
  EXPECT_EQ(TryReadInteger("+"), std::nullopt);
  EXPECT_EQ(TryReadInteger("-"), std::nullopt);
  EXPECT_EQ(TryReadInteger("1.5"), std::nullopt);
  EXPECT_EQ(TryReadInteger("1e3"), std::nullopt);
}

TEST(ReadIntegerTest, ConversionErrorNamesTheText) {
  EXPECT_EQ(ReadInteger(" -3"), -3);
  const auto error = test::Raised<EConvertError>([] { ReadInteger("12a"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message(), "'12a' は整数ではありません");
  EXPECT_THROW(ReadInteger(""), EConvertError);
}

TEST(TextTest, TrimDropsControlCharactersAndBlanksAtBothEnds) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01\x1f "), "a b");
  EXPECT_EQ(Trim("\x7f"), "\x7f") << "DEL is above blank";
  EXPECT_EQ(Trim("\xe3\x81\x82 "), "\xe3\x81\x82") << "bytes above 127 are kept";
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(std::string_view("\0x\0", 3)), "x");
}

TEST(TextTest, LowerChangesOnlyAsciiCapitals) {
  EXPECT_EQ(Lower("LOCAL3.ERR"), "local3.err");
  EXPECT_EQ(Lower("\xc4Z@["), "\xc4z@[");
}

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
  while (const auto line = TakeLastLine(rest)) {
    if (lines.size() > text.size())
      break;  // more lines than characters: the search went wrong, and the comparison says so
    lines.insert(lines.begin(), *line);
  }
  return lines;
}

// Texts of up to seven characters of a letter, CR and LF, and line ends at every offset of lines
// around the search's step, among bytes one bit away from CR or LF, read as forward reading does.
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
  EXPECT_EQ(TakeLastLine(rest), "two");
  EXPECT_EQ(rest, "one\r\n");
  EXPECT_EQ(TakeLastLine(rest), "one");
  EXPECT_EQ(rest, "");
  EXPECT_EQ(TakeLastLine(rest), std::nullopt);
}

}  // namespace
}  // namespace orvo::text
