#include "base/Text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace orvo::text
