#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "LoopbackReceiver.h"
#include "ProgramHarnessWindows.h"
#include "app/VerRes.h"
#include "platform/Process.h"

// orvologger.exe end to end under Wine: its command line, standard handles, exit codes, its
// version resource, and the datagrams a loopback receiver gets from it.
namespace orvo {
namespace {

using winharness::RunOrvologger;

const std::string Banner = "\r\norvologger ver." ORVO_PRODUCT_VERSION
                           "\r\n orvologger project orvologger.git\r\n\r\n"
                           "SYNOPSIS\r\n orvologger [-is] [-h host:port] [-f file] [-l file] "
                           "[-p pri] [-t tag] [--] [message ...]\r\n\r\n";
const std::string Prompt = "\r\nto exit, hit return or Ctrl+c\r\n\r\n";
const std::string Acknowledgement =
    "\r\nOK. message sent.\r\nto exit, hit return or Ctrl+c\r\n\r\n";

class ProgramWindowsTest : public ::testing::Test {
 protected:
  std::string Server() const { return "-h 127.0.0.1:" + std::to_string(FReceiver.Port()) + " "; }

  // The MSG parts of the datagrams that arrive until none has come for a while.
  std::vector<std::string> ReceivedMessages() {
    static const std::regex layout(
        R"(^<([0-9]+)>[A-Z][a-z]{2} [ 123][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] [0-9.]+ ([\s\S]*)$)");
    std::vector<std::string> messages;
    for (int i = 0; i < 1000; ++i) {
      const auto datagram = FReceiver.Receive(std::chrono::milliseconds(i == 0 ? 3000 : 500));
      if (!datagram)
        break;
      std::smatch match;
      if (!std::regex_match(datagram->Payload, match, layout)) {
        ADD_FAILURE() << "not a syslog datagram: " << datagram->Payload;
        continue;
      }
      messages.push_back("<" + match[1].str() + ">" + match[2].str());
    }
    return messages;
  }

  test::TLoopbackReceiver FReceiver;
};

TEST_F(ProgramWindowsTest, HelpWritesBannerSynopsisAndFooterAndSendsNothing) {
  const auto run = RunOrvologger(Server() + "-help hello");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out,
            Banner + "For more information, see readme.txt or readme_jp.txt(JAPANESE).\r\n");
  EXPECT_EQ(run.Err, "");
  EXPECT_FALSE(FReceiver.Receive(std::chrono::milliseconds(300)));
}

TEST(VersionResourceTest, TheProgramsResourceHoldsItsNameAndVersionUnderJapanese932) {
  const TVerRes program(winharness::ProgramPath());
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
  EXPECT_EQ(ProductVersionOf(winharness::ProgramPath() + ".missing"), "");
}

TEST_F(ProgramWindowsTest, OneMessageCarriesPriorityTagAndTheProcessId) {
  const auto run = RunOrvologger(Server() + "-p local3.err -t demo -i hello   world");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(ReceivedMessages(),
            std::vector<std::string>{"<155>demo[" + std::to_string(run.Pid) + "]:hello world"});
}

TEST_F(ProgramWindowsTest, EchoWritesTheDatagramOnStandardErrorWithoutAConsole) {
  const auto run = RunOrvologger(Server() + "-s -t echo hi");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  const auto datagram = FReceiver.Receive(std::chrono::seconds(3));
  ASSERT_TRUE(datagram);
  EXPECT_EQ(run.Err, datagram->Payload + "\r\n");
}

TEST_F(ProgramWindowsTest, TheCommandLineIsSplitByTheProgramsOwnRules) {
  // The C runtime would read \" as a quote character; the program's rule opens a stretch.
  const auto run = RunOrvologger(Server() + R"(-t x -- a\"b c\"d "" "  e  ")");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(ReceivedMessages(), std::vector<std::string>{R"(<13>x:a\b c\d   e  )"});
}

TEST_F(ProgramWindowsTest, FileModeSendsTrimmedLinesLastToFirst) {
  const winharness::TTempDir dir;
  const std::string file = dir.Write("messages.txt", "a\r\n\r\n  b  \nc\rd");
  const auto run = RunOrvologger(Server() + "-t f -f \"" + file + "\"");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReceivedMessages(),
            (std::vector<std::string>{"<13>f:d", "<13>f:c", "<13>f:b", "<13>f:a"}));
}

TEST_F(ProgramWindowsTest, InteractiveModeReadsLinesEndedByCrFromAPipe) {
  const auto run =
      RunOrvologger(Server() + "-t i", "first\r\n   \r\nsecond\nstill second\r\n\r\nnever\r\n");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Banner + Prompt + Acknowledgement + Acknowledgement + Acknowledgement);
  EXPECT_EQ(ReceivedMessages(),
            (std::vector<std::string>{"<13>i:first", "<13>i:second\nstill second"}));
}

TEST_F(ProgramWindowsTest, CtrlZOrTheEndOfThePipeEndsInteractiveMode) {
  const auto ctrlZ = RunOrvologger(Server() + "-t z", "x\x1ay\r\nz\r\n");
  EXPECT_EQ(ctrlZ.ExitCode, 0);
  EXPECT_EQ(ctrlZ.Out, Banner + Prompt + Acknowledgement);
  const auto end = RunOrvologger(Server() + "-t z", "");
  EXPECT_EQ(end.ExitCode, 0);
  EXPECT_EQ(end.Out, Banner + Prompt);
  EXPECT_EQ(ReceivedMessages(), std::vector<std::string>{"<13>z:x"});
}

// The failure texts are the program's UTF-8 bytes when standard output is no console.
TEST_F(ProgramWindowsTest, AMissingFileEndsWithItsMessageInUtf8AndExitCode9) {
  const winharness::TTempDir dir;
  const std::string missing = dir.Path() + "\\\xe6\x97\xa5\xe6\x9c\xac.txt";
  const auto run = RunOrvologger(Server() + "-f \"" + missing + "\"");
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out,
            "\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab " + missing +
                " \xe3\x81\xaf\xe9\x96\x8b\xe3\x81\x91\xe3\x81\xbe\xe3\x81\x9b\xe3\x82\x93\r\n");
  EXPECT_EQ(run.Err, "");
  EXPECT_TRUE(ReceivedMessages().empty());
}

TEST_F(ProgramWindowsTest, AnUnresolvableHostEndsWithTheSocketErrorAndExitCode9) {
  const auto run = RunOrvologger("-h \"no such host!\" hello");
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, "Socket Error # 11001\r\n\r\n");
}

}  // namespace
}  // namespace orvo
