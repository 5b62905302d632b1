// The built program run as a process against a loopback receiver.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "ProgramHarness.h"

namespace orvo::harness {
namespace {

using namespace std::chrono_literals;

const std::string Banner =
    "\r\norvologger ver." ORVO_PRODUCT_VERSION "\r\n orvologger project orvologger.git\r\n\r\n";
const std::string Synopsis =
    "SYNOPSIS\r\n orvologger [-is] [-h host:port] [-f file] [-l file] [-p pri] [-t tag] [--] "
    "[message ...]\r\n\r\n";
const std::string Footer = "For more information, see readme.txt or readme_jp.txt(JAPANESE).\r\n";
const std::string Prompt = "\r\nto exit, hit return or Ctrl+c\r\n\r\n";
const std::string Ack = "\r\nOK. message sent.\r\nto exit, hit return or Ctrl+c\r\n\r\n";

// "Mmm dd" of today, as the datagram's header writes it.
std::string Today() {
  return LocalTimeNow("%b %e");
}

// The exact datagram text the program sends, apart from the time of day.
std::string Expected(int pri, const std::string& msg) {
  return "<" + std::to_string(pri) + ">" + Today() + " hh:mm:ss " + LocalAddress() + " " + msg;
}

std::vector<std::string> Plain(const std::vector<std::string>& datagrams) {
  std::vector<std::string> texts;
  for (const std::string& datagram : datagrams)
    texts.push_back(WithoutTimeOfDay(datagram));
  return texts;
}

// A host the resolver does not know: the numbered socket error, whose text for this code is
// empty, so the message is the number and a line break; the program adds its own line end.
const std::string HostNotFound = "Socket Error # 11001\r\n\r\n";

std::string Pid(const TRunResult& run) {
  return std::to_string(run.Pid);
}

class ProgramTest : public ::testing::Test {
 protected:
  std::vector<std::string> With(std::initializer_list<std::string> parameters) const {
    std::vector<std::string> all{"-h", FReceiver.Address()};
    all.insert(all.end(), parameters);
    return all;
  }

  TUdpReceiver FReceiver;
  TTempDir FDir;
};

TEST_F(ProgramTest, HelpWritesBannerSynopsisAndFooterAndSendsNothing) {
  const TRunResult run = RunOrvologger(With({"-help", "words", "after"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Banner + Synopsis + Footer);
  EXPECT_EQ(run.Err, "");
  EXPECT_TRUE(FReceiver.ReceiveAll().empty());
}

TEST_F(ProgramTest, OneMessageIsTheWordsJoinedByBlanks) {
  const TRunResult run = RunOrvologger(With({"hello", "  big ", "world"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":hello   big  world")});
}

TEST_F(ProgramTest, PriorityTagAndProcessIdShapeTheDatagram) {
  const TRunResult run =
      RunOrvologger(With({"-p", "local3.err", "-t", "myapp", "-i", "disk", "full"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            std::vector{Expected(155, "myapp[" + Pid(run) + "]:disk full")});
}

TEST_F(ProgramTest, OptionPrefixesAndRepeats) {
  const TRunResult run = RunOrvologger({"-hx", "127.0.0.1:9", "-host", FReceiver.Address(), "-hel",
                                        "127.0.0.1", "-pri", "kern.debug", "-pri", "CRON.Info",
                                        "-tag", "first", "-tag", "b-c", "-six", "-H", "x"});
  EXPECT_EQ(run.ExitCode, 0);
  const std::string expected = Expected(78, "b[" + Pid(run) + "]:-H x");
  const auto datagrams = FReceiver.ReceiveAll();
  EXPECT_EQ(Plain(datagrams), std::vector{expected});
  ASSERT_EQ(datagrams.size(), 1u);
  EXPECT_EQ(run.Err, datagrams[0] + "\r\n") << "the echo carries the datagram text";
  EXPECT_EQ(run.Out, "");
}

TEST_F(ProgramTest, EchoGoesToStandardErrorOnly) {
  const TRunResult run = RunOrvologger(With({"-s", "echoed"}));
  const auto datagrams = FReceiver.ReceiveAll();
  ASSERT_EQ(datagrams.size(), 1u);
  EXPECT_EQ(WithoutTimeOfDay(datagrams[0]), Expected(13, ":echoed"));
  EXPECT_EQ(run.Err, datagrams[0] + "\r\n");
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.ExitCode, 0);
}

TEST_F(ProgramTest, DoubleDashIsDroppedAndWhatFollowsIsTheMessage) {
  const TRunResult run = RunOrvologger(With({"--", "-s", "-i"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":-s -i")});
}

TEST_F(ProgramTest, FileModeSendsTrimmedLinesLastToFirst) {
  const std::string file = FDir.Write("messages.txt", "a\r\n\r\n  b  \rc\n\t\n");
  const TRunResult run = RunOrvologger(With({"-t", "f", "-s", "-f", file}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  const auto datagrams = FReceiver.ReceiveAll();
  EXPECT_EQ(Plain(datagrams),
            (std::vector{Expected(13, "f:c"), Expected(13, "f:b"), Expected(13, "f:a")}));
  ASSERT_EQ(datagrams.size(), 3u);
  EXPECT_EQ(run.Err, datagrams.back() + "\r\n") << "one echo line after the whole file";
}

TEST_F(ProgramTest, ANulEndsTheFile) {
  const std::string file = FDir.Write("nul.txt", std::string("x\0y\nz\n", 6));
  const TRunResult run = RunOrvologger(With({"-f", file}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":x")});
}

TEST_F(ProgramTest, EmptyAndBlankFilesSendNothing) {
  for (const std::string& bytes : {std::string(), std::string(" \r\n\t\n\n")}) {
    const std::string file = FDir.Write("blank.txt", bytes);
    const TRunResult run = RunOrvologger(With({"-s", "-f", file}));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "\r\n") << "the echo line is empty when nothing was sent";
  }
  EXPECT_TRUE(FReceiver.ReceiveAll().empty());
}

TEST_F(ProgramTest, WordsWinOverTheFileWhichIsNotOpened) {
  const TRunResult run = RunOrvologger(With({"-f", FDir.Path() + "/missing.txt", "only", "words"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":only words")});
}

TEST_F(ProgramTest, AMissingFileFailsWithItsNameAsGiven) {
  const std::string name = FDir.Path() + "/no such.txt";
  const TRunResult run = RunOrvologger(With({"-s", "-f", name}));
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, "ファイル " + name + " は開けません\r\n");
  EXPECT_EQ(run.Err, "");
  EXPECT_TRUE(FReceiver.ReceiveAll().empty());
}

TEST_F(ProgramTest, AnUnresolvableHostFailsWithTheMessageAloneOnStandardOutput) {
  const std::string file = FDir.Write("lines.txt", "one\ntwo\n");
  const TRunResult run = RunOrvologger({"-h", "no such host!", "-s", "-f", file});
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, HostNotFound);
  EXPECT_EQ(run.Err, "") << "no echo after a failed send";
}

// The preloaded resolver lets "flaky host!" resolve twice; the third send finds no host.
std::vector<std::string> ResolvesTwice() {
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
  if (const char* given = std::getenv("ASAN_OPTIONS"))
    asan += std::string(":") + given;
  return {"LD_PRELOAD=" FLAKY_RESOLVER_PATH, "ORVO_FLAKY_RESOLVES=2", asan};
}

TEST_F(ProgramTest, ASendFailureInTheMiddleOfAFileKeepsTheEarlierLinesSent) {
  const std::string file = FDir.Write("five.txt", "1\n2\n3\n4\n5\n");
  const TRunResult run =
      RunOrvologger({"-h", "flaky host!:" + std::to_string(FReceiver.Port()), "-s", "-f", file}, {},
                    ResolvesTwice());
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), (std::vector{Expected(13, ":5"), Expected(13, ":4")}));
  EXPECT_EQ(run.Out, HostNotFound);
  EXPECT_EQ(run.Err, "") << "no echo after a failed run";
}

TEST_F(ProgramTest, InteractiveModeSendsEachLineUntilAnEmptyOne) {
  const TRunResult run =
      RunOrvologger(With({"-t", "tty"}), "first\n  spaced  \r\n   \r\ncr\r\n\nnot sent\n");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Banner + Synopsis + Prompt + Ack + Ack + Ack + Ack);
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            (std::vector{Expected(13, "tty:first"), Expected(13, "tty:  spaced  "),
                         Expected(13, "tty:cr")}));
}

TEST_F(ProgramTest, InteractiveModeEndsAtTheEndOfInputOrCtrlZ) {
  const TRunResult empty = RunOrvologger(With({}));
  EXPECT_EQ(empty.ExitCode, 0);
  EXPECT_EQ(empty.Out, Banner + Synopsis + Prompt);

  const TRunResult unterminated = RunOrvologger(With({"-s"}), "last line");
  EXPECT_EQ(unterminated.ExitCode, 0);
  EXPECT_EQ(unterminated.Out, Banner + Synopsis + Prompt + Ack);

  const TRunResult ctrlZ = RunOrvologger(With({}),
                                         "before\x1a"
                                         "after\nmore\n");
  EXPECT_EQ(ctrlZ.ExitCode, 0);
  EXPECT_EQ(ctrlZ.Out, Banner + Synopsis + Prompt + Ack);

  const auto datagrams = FReceiver.ReceiveAll();
  EXPECT_EQ(Plain(datagrams), (std::vector{Expected(13, ":last line"), Expected(13, ":before")}));
  ASSERT_FALSE(datagrams.empty());
  EXPECT_EQ(unterminated.Err, datagrams[0] + "\r\n");
}

TEST_F(ProgramTest, AFailureEndsInteractiveMode) {
  const TRunResult run = RunOrvologger({"-h", "no such host!"}, "hello\nagain\n");
  EXPECT_EQ(run.ExitCode, 9);
  ASSERT_TRUE(run.Out.starts_with(Banner + Synopsis + Prompt));
  EXPECT_EQ(run.Out.substr((Banner + Synopsis + Prompt).size()), HostNotFound)
      << "no acknowledgement after the failed send";
}

TEST_F(ProgramTest, AStandardOutputThatFailsEndsTheRunWithExitCode9) {
  const TRunResult full =
      RunProcess("/bin/sh", {"-c", "exec \"$0\" -help > /dev/full", ORVOLOGGER_PATH});
  EXPECT_EQ(full.ExitCode, 9);
  // The reader of the pipe is gone before the program writes: the write fails, no signal ends it.
  const TRunResult broken = RunProcess(
      "/bin/bash",
      {"-c", "{ sleep 0.3; \"$0\" -help; echo \"exit $?\" >&2; } | true", ORVOLOGGER_PATH});
  EXPECT_EQ(broken.Err, "exit 9\n");
}

// Started with standard error closed, the program's socket must not take descriptor 2 and
// receive the echo.
TEST_F(ProgramTest, AClosedStandardErrorTakesNoEchoIntoTheSocket) {
  const TRunResult run = RunProcess("/bin/sh", {"-c", "exec \"$0\" -s -h \"$1\" hello 2>&-",
                                                ORVOLOGGER_PATH, FReceiver.Address()});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":hello")});
}

// Under a limit of its address space: a file is read only up to its first NUL, and memory that
// runs out ends the run with exit code 9 and the program's own text.
TEST_F(ProgramTest, UnderAMemoryLimitAFileIsReadToItsNulAndRunningOutIsReported) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#endif
  const std::string noNul = FDir.Write("x.txt", std::string(std::size_t{24} << 20, 'x'));
  const struct {
    std::string File;
    int ExitCode;
    std::string Out;
  } cases[] = {{"/dev/zero", 0, ""}, {noNul, 9, "メモリが不足しています\r\n"}};
  for (const auto& [file, exitCode, out] : cases) {
    const TRunResult run = RunProcess("/usr/bin/prlimit", {"--as=16777216", ORVOLOGGER_PATH, "-h",
                                                           FReceiver.Address(), "-f", file});
    EXPECT_EQ(run.ExitCode, exitCode) << file;
    EXPECT_EQ(run.Out, out) << file;
  }
  EXPECT_EQ(FReceiver.ReceiveAll(), std::vector<std::string>{});
}

TEST_F(ProgramTest, InteractiveModeOnATerminal) {
  const TRunResult run =
      RunOrvologgerOnTerminal(With({"-p", "user.warn", "-t", "typed"}),
                              {{"Ctrl+c", "hello from a terminal\r"}, {"OK. message sent.", "\r"}});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("orvologger ver." ORVO_PRODUCT_VERSION), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("OK. message sent."), std::string::npos) << run.Out;
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            std::vector{Expected(12, "typed:hello from a terminal")});
}

}  // namespace
}  // namespace orvo::harness
