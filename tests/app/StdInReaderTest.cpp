#include "app/StdInReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "app/ConsoleIO.h"
#include "base/Exception.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

// Hands out the given pieces one read at a time, then the end of the input (or a failure).
class TScriptedInput {
 public:
  explicit TScriptedInput(std::deque<std::string> pieces, std::int32_t error = 0)
      : FPieces(std::move(pieces)), FError(error) {}

  platform::TConsoleRead operator()(char* buffer, std::size_t size) {
    ++Reads;
    if (FPieces.empty())
      return {0, FError};
    std::string& piece = FPieces.front();
    const std::size_t count = std::min(size, piece.size());
    std::memcpy(buffer, piece.data(), count);
    piece.erase(0, count);
    if (piece.empty())
      FPieces.pop_front();
    return {count, 0};
  }

  int Reads = 0;

 private:
  std::deque<std::string> FPieces;
  std::int32_t FError;
};

// Reads count lines; LF ends a line unless lineFeedEndsLine says otherwise.
std::vector<std::string> ReadAll(std::deque<std::string> pieces, std::size_t count,
                                 bool lineFeedEndsLine = true) {
  TScriptedInput input(std::move(pieces));
  TStdInReader reader(std::ref(input), lineFeedEndsLine);
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < count; ++i)
    lines.push_back(reader.ReadLine());
  return lines;
}

using Lines = std::vector<std::string>;

TEST(StdInReaderTest, LinesEndAtLfCrOrCrLf) {
  EXPECT_EQ(ReadAll({"a\nb\rc\r\nd\n"}, 5), (Lines{"a", "b", "c", "d", ""}));
  EXPECT_EQ(ReadAll({"a\n\nb\n"}, 3), (Lines{"a", "", "b"}));
  EXPECT_EQ(ReadAll({"  x  \t\n"}, 1), (Lines{"  x  \t"})) << "lines are not trimmed";
}

TEST(StdInReaderTest, ACrLfSplitAcrossReadsIsOneLineEnd) {
  EXPECT_EQ(ReadAll({"a\r", "\nb\r", "\r\n"}, 4), (Lines{"a", "b", "", ""}));
}

TEST(StdInReaderTest, WhereLfEndsNoLineItIsACharacterOfTheLine) {
  EXPECT_EQ(ReadAll({"a\nb\rc\r\nd\n"}, 3, false), (Lines{"a\nb", "c", "d\n"}));
  EXPECT_EQ(ReadAll({"a\r", "\nb\n\r"}, 3, false), (Lines{"a", "b\n", ""}))
      << "an LF right after CR still belongs to the line end";
  EXPECT_EQ(ReadAll({"x\n\x1ay\r"}, 2, false), (Lines{"x\n", ""}));
}

TEST(StdInReaderTest, ALineEndedByCrIsReturnedWithoutWaitingForMoreInput) {
  TScriptedInput input({"one\r", "two\n"});
  TStdInReader reader(std::ref(input), true);
  EXPECT_EQ(reader.ReadLine(), "one");
  EXPECT_EQ(input.Reads, 1);
  EXPECT_EQ(reader.ReadLine(), "two");
}

TEST(StdInReaderTest, EndOfInputReturnsTheLineSoFarThenEmptyLines) {
  EXPECT_EQ(ReadAll({"last"}, 3), (Lines{"last", "", ""}));
  EXPECT_EQ(ReadAll({}, 2), (Lines{"", ""}));
}

TEST(StdInReaderTest, CtrlZEndsTheInput) {
  TScriptedInput input(
      {"a\nbc\x1a"
       "def\n"});
  TStdInReader reader(std::ref(input), true);
  EXPECT_EQ(reader.ReadLine(), "a");
  EXPECT_EQ(reader.ReadLine(), "bc");
  const int reads = input.Reads;
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(reader.ReadLine(), "");
  EXPECT_EQ(input.Reads, reads) << "nothing is read after the end";
}

TEST(StdInReaderTest, AReadFailureRaisesTheTextOfItsCode) {
  TScriptedInput input({"ok\n"}, 5);
  TStdInReader reader(std::ref(input), true);
  EXPECT_EQ(reader.ReadLine(), "ok");
  const auto error = test::Raised<Exception>([&] { reader.ReadLine(); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message(), "ファイルへのアクセスが拒否されました");
}

TEST(IOErrorTextTest, NamedCodesHaveTheirTextsAndOthersTheirNumber) {
  EXPECT_EQ(console::IOErrorText(2), "ファイルが見つかりません");
  EXPECT_EQ(console::IOErrorText(3), "不正なファイル名です");
  EXPECT_EQ(console::IOErrorText(4), "オープンしたファイルが多すぎます");
  EXPECT_EQ(console::IOErrorText(100), "ファイルの末尾以降を読み込みました");
  EXPECT_EQ(console::IOErrorText(101), "ディスクがいっぱいです");
  EXPECT_EQ(console::IOErrorText(106), "入力値が数値ではありません");
  EXPECT_EQ(console::IOErrorText(9), "I/O エラー (9)");
  EXPECT_EQ(console::IOErrorText(-1), "I/O エラー (-1)");
}

}  // namespace
}  // namespace orvo
