#include "app/VerRes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/VersionInfo.h"
#include "platform/tools/VersionBlockWriter.h"

namespace orvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The one file with version data in this test program, and its block.
std::string gFileName;
Bytes gBlock;

}  // namespace

// The system's version calls, linked in place of the platform's: the block of the test's making
// for its file name, nothing for any other.
namespace platform {

std::uint32_t GetFileVersionInfoSizeA(const char* fileName, std::uint32_t* handle) noexcept {
  *handle = 0;
  return fileName == gFileName ? static_cast<std::uint32_t>(gBlock.size()) : 0;
}

bool GetFileVersionInfoA(const char* fileName, std::uint32_t, std::uint32_t size,
                         void* data) noexcept {
  if (fileName != gFileName)
    return false;
  std::memcpy(data, gBlock.data(), std::min<std::size_t>(size, gBlock.size()));
  return true;
}

}  // namespace platform

namespace {

using namespace platform::verblock;

Bytes Block(const TVersionNode& root) {
  return Serialize(root);
}

TStringTable Table(std::uint16_t language, std::uint16_t codePage, std::string name,
                   std::string version) {
  return {language,
          codePage,
          {{"ProductName", std::move(name)}, {"ProductVersion", std::move(version)}}};
}

class VerResTest : public ::testing::Test {
 protected:
  std::string ProgramWith(const Bytes& block) {
    gFileName = "/opt/orvo/program";
    gBlock = block;
    return gFileName;
  }
};

TEST_F(VerResTest, ReadsTheProductNameAndVersionOfTheFirstTranslation) {
  const std::string path =
      ProgramWith(Block(VersionInfo(1, 0, {Table(0x0411, 932, "orvologger", "1.0")})));
  const TVerRes reader(path);
  EXPECT_TRUE(reader.HasData());
  EXPECT_EQ(reader.Language(), 0x0411);
  EXPECT_EQ(reader.CodePage(), 932);
  EXPECT_EQ(reader.Translation(), "041103A4");
  EXPECT_EQ(reader.GetProductName(), "orvologger");
  EXPECT_EQ(reader.GetProductVersion(), "1.0");
  EXPECT_EQ(reader.QueryValue("productname"), "orvologger") << "keys compare without case";
  EXPECT_EQ(reader.QueryValue("CompanyName"), "");
  EXPECT_EQ(ProductNameOf(path), "orvologger");
  EXPECT_EQ(ProductVersionOf(path), "1.0");
}

// The program's block as the build machine wrote it, little-endian as the Windows version
// resource: the processor running the test writes the same bytes and reads them.
TEST_F(VerResTest, TheBuildMachinesBlockIsWrittenAndReadAlikeOnEveryProcessor) {
  std::ifstream in(ORVO_TEST_DATA_DIR "/version-block-1.0.bin", std::ios::binary);
  const Bytes written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(written.size(), 368u);
  EXPECT_EQ(Block(ProgramVersionInfo("orvologger", 1, 0)), written);

  const TVerRes reader(ProgramWith(written));
  EXPECT_EQ(reader.Translation(), "041103A4");
  EXPECT_EQ(reader.GetProductName(), "orvologger");
  EXPECT_EQ(reader.GetProductVersion(), "1.0");
}

TEST_F(VerResTest, OnlyTheFirstTranslationIsConsulted) {
  TVersionNode root = VersionInfo(
      2, 5, {Table(0x0409, 0x04E4, "english", "2.5"), Table(0x0411, 932, "japanese", "2.6")});
  // The first table lacks the version; the second has it and is still never read.
  root.Children[0].Children[0].Children.pop_back();
  const TVerRes reader(ProgramWith(Block(root)));
  EXPECT_EQ(reader.Translation(), "040904E4") << "upper-case hexadecimal digits";
  EXPECT_EQ(reader.GetProductName(), "english");
  EXPECT_EQ(reader.GetProductVersion(), "");
}

TEST_F(VerResTest, ATableUnderLowerCaseDigitsIsFoundThroughTheUpperCasePath) {
  TVersionNode root = VersionInfo(1, 0, {Table(0x0409, 0x04E4, "lower", "1.0")});
  root.Children[0].Children[0].Key = "040904e4";
  EXPECT_EQ(TVerRes(ProgramWith(Block(root))).GetProductName(), "lower");
}

TEST_F(VerResTest, AValueIsCutAtItsFirstZeroByte) {
  TVersionNode root = VersionInfo(1, 0, {Table(0x0411, 932, "", "")});
  root.Children[0].Children[0].Children[0].Value = {'o', 'r', 0, 'v', 'o', 0};
  root.Children[0].Children[0].Children[1].Value = {'9', '.', '9'};  // no zero at all
  const TVerRes reader(ProgramWith(Block(root)));
  EXPECT_EQ(reader.GetProductName(), "or");
  EXPECT_EQ(reader.GetProductVersion(), "9.9") << "the stored length bounds the text";
}

TEST_F(VerResTest, APathIsCutTo255Characters) {
  // The path before the key, \StringFileInfo\041103A4\ , takes 25 characters: 230 remain.
  const std::string fits(230, 'k');
  TVersionNode root = VersionInfo(1, 0, {{0x0411, 932, {{fits, "kept"}, {"short", "s"}}}});
  const TVerRes reader(ProgramWith(Block(root)));
  EXPECT_EQ(reader.QueryValue(fits), "kept");
  EXPECT_EQ(reader.QueryValue(fits + "extra"), "kept") << "the key's tail is cut off";
  EXPECT_EQ(reader.QueryValue(std::string(229, 'k')), "");
}

TEST_F(VerResTest, EmptyValuesAndMissingTranslationsGiveEmptyTexts) {
  TVersionNode root = VersionInfo(1, 0, {Table(0x0411, 932, "name", "1.0")});
  root.Children[0].Children[0].Children[0].Value.clear();
  EXPECT_EQ(TVerRes(ProgramWith(Block(root))).GetProductName(), "");

  root.Children[1].Children[0].Value.clear();  // a translation list of length 0
  const TVerRes noTranslation(ProgramWith(Block(root)));
  EXPECT_TRUE(noTranslation.HasData());
  EXPECT_EQ(noTranslation.Translation(), "");
  EXPECT_EQ(noTranslation.GetProductVersion(), "");

  root.Children[1].Children[0].Value = {0x11, 0x04};  // shorter than one entry
  EXPECT_EQ(TVerRes(ProgramWith(Block(root))).Translation(), "");
}

TEST_F(VerResTest, AFileWithoutVersionDataGivesEmptyTexts) {
  ProgramWith(Block(VersionInfo(1, 0, {Table(0x0411, 932, "x", "1")})));
  const TVerRes reader("/opt/orvo/other");
  EXPECT_FALSE(reader.HasData());
  EXPECT_EQ(reader.Translation(), "");
  EXPECT_EQ(reader.GetProductName(), "");
  EXPECT_EQ(reader.GetProductVersion(), "");
}

TEST_F(VerResTest, ASizeOf65536CountsAsNoData) {
  Bytes block = Block(VersionInfo(1, 0, {Table(0x0411, 932, "big", "1.0")}));
  block.resize(65536, 0);
  const TVerRes reader(ProgramWith(block));
  EXPECT_FALSE(reader.HasData());
  EXPECT_EQ(reader.DataSize(), 0);
  EXPECT_EQ(reader.GetProductName(), "");
}

TEST_F(VerResTest, ALargerSizeGivesABlockOfOnlyTheRemainder) {
  const Bytes whole = Block(VersionInfo(1, 0, {Table(0x0411, 932, "big", "1.0")}));
  // 65536 + the whole block: the reader's block holds exactly the block and reads it.
  Bytes padded = whole;
  padded.resize(65536 + whole.size(), 0);
  const TVerRes fits(ProgramWith(padded));
  EXPECT_EQ(fits.DataSize(), whole.size());
  EXPECT_EQ(fits.GetProductName(), "big");

  // 65536 + 40 bytes: only the start of the root fits; nothing outside the 40 bytes is read.
  Bytes cut = whole;
  cut.resize(65536 + 40, 0);
  const TVerRes truncated(ProgramWith(cut));
  EXPECT_TRUE(truncated.HasData());
  EXPECT_EQ(truncated.DataSize(), 40);
  EXPECT_EQ(truncated.Translation(), "");
  EXPECT_EQ(truncated.GetProductName(), "");
}

TEST(VerQueryValueTest, WalksTheKeyTreeAndRefusesMalformedBlocks) {
  const Bytes block = Serialize(VersionInfo(3, 4, {Table(0x0411, 932, "n", "3.4")}));
  const void* value = nullptr;
  std::uint32_t length = 0;
  const auto size = static_cast<std::uint32_t>(block.size());
  ASSERT_TRUE(platform::VerQueryValueA(block.data(), size, "\\", &value, &length));
  ASSERT_EQ(length, 52u);
  // The fixed information's double words are little-endian on every processor.
  const auto dword = [&](std::size_t at) {
    const auto* bytes = static_cast<const std::uint8_t*>(value) + at;
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
  };
  EXPECT_EQ(dword(0), 0xFEEF04BDu);
  EXPECT_EQ(dword(16), 0x00030004u) << "the product version's high double word";
  EXPECT_TRUE(platform::VerQueryValueA(
      block.data(), size, "StringFileInfo\\\\041103a4\\ProductVersion", &value, &length));
  EXPECT_EQ(length, 4u);
  EXPECT_STREQ(static_cast<const char*>(value), "3.4");
  EXPECT_FALSE(platform::VerQueryValueA(block.data(), size, "\\StringFileInfo\\041103A4\\Nope",
                                        &value, &length));
  EXPECT_FALSE(platform::VerQueryValueA(block.data(), size,
                                        "\\StringFileInfo\\041103A4\\ProductNam", &value, &length));

  // Every cut of the block, and a block whose lengths lie, is read only within its bounds.
  for (std::uint32_t cut = 0; cut < size; ++cut) {
    std::vector<std::uint8_t> copy(block.begin(), block.begin() + cut);
    platform::VerQueryValueA(copy.data(), cut, "\\StringFileInfo\\041103A4\\ProductVersion", &value,
                             &length);
  }
  Bytes liar = block;
  liar[0] = 0xFF;
  liar[1] = 0xFF;
  liar[2] = 0xFF;
  liar[3] = 0xFF;
  EXPECT_TRUE(platform::VerQueryValueA(liar.data(), size, "\\", &value, &length));
  EXPECT_LE(static_cast<const std::uint8_t*>(value) + length, liar.data() + liar.size());
  Bytes noKeyEnd(8, 'k');
  noKeyEnd[0] = 8;
  noKeyEnd[1] = 0;
  EXPECT_FALSE(platform::VerQueryValueA(noKeyEnd.data(), 8, "\\", &value, &length));
}

}  // namespace
}  // namespace orvo
