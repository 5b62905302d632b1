// The built program run as a process against a loopback receiver: the scenarios that hold
// alike on POSIX and on Windows.
#include <gtest/gtest.h>

#include "ProgramFixture.h"

namespace orvo::test {
namespace {

// A host the resolver does not know: the numbered socket error, whose text for this code is
// empty, so the message is the number and a line break; the program adds its own line end.
const std::string HostNotFound = "Socket Error # 11001\r\n\r\n";

std::string Pid(const TRunResult& run) {
  return std::to_string(run.Pid);
}

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

// Without a console (standard error is a pipe here) the echo is written as it is.
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

// Lines end at CR LF, CR alone or LF alone; the last one needs no line end.
TEST_F(ProgramTest, FileModeSendsTrimmedLinesLastToFirst) {
  const std::string file = FDir.Write("messages.txt", "a\r\n\r\n  b  \rc\n\t\nd");
  const TRunResult run = RunOrvologger(With({"-t", "f", "-s", "-f", file}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  const auto datagrams = FReceiver.ReceiveAll();
  EXPECT_EQ(Plain(datagrams), (std::vector{Expected(13, "f:d"), Expected(13, "f:c"),
                                           Expected(13, "f:b"), Expected(13, "f:a")}));
  ASSERT_EQ(datagrams.size(), 4u);
  EXPECT_EQ(run.Err, datagrams.back() + "\r\n") << "one echo line after the whole file";
}

TEST_F(ProgramTest, ANulEndsTheFile) {
  // Not "nul.txt": Windows opens its null device for that name.
  const std::string file = FDir.Write("cut-short.txt", std::string("x\0y\nz\n", 6));
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
  const TRunResult run = RunOrvologger(With({"-f", FDir.File("missing.txt"), "only", "words"}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, ":only words")});
}

// The name is written back byte for byte, UTF-8 included, when standard output is no console.
TEST_F(ProgramTest, AMissingFileFailsWithItsNameAsGiven) {
  const std::string name = FDir.File("no such \xe6\x97\xa5\xe6\x9c\xac.txt");
  const TRunResult run = RunOrvologger(With({"-s", "-f", name}));
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, "ファイル " + name + " は開けません\r\n");
  EXPECT_EQ(run.Err, "");
  EXPECT_TRUE(FReceiver.ReceiveAll().empty());
}

TEST_F(ProgramTest, AnUnresolvableHostFailsWithTheMessageAloneOnStandardOutput) {
  const std::string file = FDir.Write("lines.txt", "one\ntwo\n");
  const TRunResult run = RunOrvologger({"-h", "no..such.host", "-s", "-f", file});
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, HostNotFound);
  EXPECT_EQ(run.Err, "") << "no echo after a failed send";
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
                                         "after\r\nmore\r\n");
  EXPECT_EQ(ctrlZ.ExitCode, 0);
  EXPECT_EQ(ctrlZ.Out, Banner + Synopsis + Prompt + Ack);

  const auto datagrams = FReceiver.ReceiveAll();
  EXPECT_EQ(Plain(datagrams), (std::vector{Expected(13, ":last line"), Expected(13, ":before")}));
  ASSERT_FALSE(datagrams.empty());
  EXPECT_EQ(unterminated.Err, datagrams[0] + "\r\n");
}

TEST_F(ProgramTest, AFailureEndsInteractiveMode) {
  const TRunResult run = RunOrvologger({"-h", "no..such.host"}, "hello\r\nagain\r\n");
  EXPECT_EQ(run.ExitCode, 9);
  ASSERT_TRUE(run.Out.starts_with(Banner + Synopsis + Prompt));
  EXPECT_EQ(run.Out.substr((Banner + Synopsis + Prompt).size()), HostNotFound)
      << "no acknowledgement after the failed send";
}

}  // namespace
}  // namespace orvo::test
