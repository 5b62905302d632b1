// orvologger.exe's own ways under Windows: its command line split by its own rules, lines
// typed through a pipe ended at CR, and its version resource.
#include <gtest/gtest.h>

#include "ProgramFixture.h"
#include "app/VerRes.h"
#include "platform/Process.h"

namespace orvo::test {
namespace {

// The C runtime would read \" as a quote character; the program's rule opens a stretch.
TEST_F(ProgramTest, TheCommandLineIsSplitByTheProgramsOwnRules) {
  const TRunResult run = RunProcessWithCommandLine(
      ProgramPath(), "-h " + FReceiver.Address() + R"( -t x -- a\"b c\"d "" "  e  ")");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, R"(x:a\b c\d   e  )")});
}

// A line feed alone stays in the line: lines typed into a Windows console end at CR.
TEST_F(ProgramTest, InteractiveModeReadsLinesEndedByCrFromAPipe) {
  const TRunResult run =
      RunOrvologger(With({"-t", "i"}), "first\r\n   \r\nsecond\nstill second\r\n\r\nnever\r\n");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Banner + Synopsis + Prompt + Ack + Ack + Ack);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            (std::vector{Expected(13, "i:first"), Expected(13, "i:second\nstill second")}));
}

TEST(VersionResourceTest, TheProgramsResourceHoldsItsNameAndVersionUnderJapanese932) {
  const TVerRes program(ProgramPath());
  ASSERT_TRUE(program.HasData());
  EXPECT_EQ(program.Language(), 0x0411);
  EXPECT_EQ(program.CodePage(), 932);
  EXPECT_EQ(program.Translation(), "041103A4");
  EXPECT_EQ(program.GetProductName(), "orvologger");
  EXPECT_EQ(program.GetProductVersion(), ORVO_PRODUCT_VERSION);
  EXPECT_EQ(program.QueryValue("OriginalFilename"), "orvologger.exe");
  EXPECT_EQ(program.QueryValue("NoSuchKey"), "");

  // This test program carries no version resource: every value is empty.
  const TVerRes self(platform::ModuleFileName());
  EXPECT_FALSE(self.HasData());
  EXPECT_EQ(self.GetProductName(), "");
  EXPECT_EQ(ProductVersionOf(ProgramPath() + ".missing"), "");
}

}  // namespace
}  // namespace orvo::test
