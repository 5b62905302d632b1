// The built program's scenarios that only POSIX can set up or that follow POSIX's own rules:
// a resolver swapped in by preloading, standard output on /dev/full or a closed pipe, a
// pseudo-terminal, and line feeds ending typed lines.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ProgramFixture.h"

namespace orvo::test {
namespace {

const std::string HostNotFound = "Socket Error # 11001\r\n\r\n";

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

// The preloaded resolver lets "flaky host!" resolve twice; the third send finds no host.
std::vector<std::string> ResolvesTwice() {
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
  if (const char* given = std::getenv("ASAN_OPTIONS"))
    asan += std::string(":") + given;
  return {"LD_PRELOAD=" FLAKY_RESOLVER_PATH, "ORVO_FLAKY_RESOLVES=2", asan};
}

TEST_F(ProgramTest, ASendFailureInTheMiddleOfAFileKeepsTheEarlierLinesSent) {
  const std::string file = FDir.Write("five.txt", "1\n2\n3\n4\n5\n");
  const TRunResult run = RunProcessWithEnvironment(
      ProgramPath(), {"-h", "flaky host!:" + std::to_string(FReceiver.Port()), "-s", "-f", file},
      ResolvesTwice());
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), (std::vector{Expected(13, ":5"), Expected(13, ":4")}));
  EXPECT_EQ(run.Out, HostNotFound);
  EXPECT_EQ(run.Err, "") << "no echo after a failed run";
}

TEST_F(ProgramTest, AStandardOutputThatFailsEndsTheRunWithExitCode9) {
  const TRunResult full =
      RunProcess("/bin/sh", {"-c", "exec \"$0\" -help > /dev/full", ProgramPath()});
  EXPECT_EQ(full.ExitCode, 9);
  // The reader of the pipe is gone before the program writes: the write fails, no signal ends it.
  const TRunResult broken = RunProcess(
      "/bin/bash",
      {"-c", "{ sleep 0.3; \"$0\" -help; echo \"exit $?\" >&2; } | true", ProgramPath()});
  EXPECT_EQ(broken.Err, "exit 9\n");
}

// Started with a standard descriptor closed, the program finds it open on /dev/null, in the
// direction the descriptor is used: its socket does not take the number and receive the echo,
// writes go nowhere, and interactive mode finds the end of its input at once.
TEST_F(ProgramTest, ClosedStandardDescriptorsAreOpenOnTheNullDevice) {
  const struct {
    std::string Command;
    std::string Out;
    std::vector<std::string> Sent;
  } cases[] = {{"-s hello 2>&-", "", {Expected(13, ":hello")}},
               {"-help >&-", "", {}},
               {"<&-", Banner + Synopsis + Prompt, {}}};
  for (const auto& [command, out, sent] : cases) {
    const TRunResult run = RunProcess(
        "/bin/sh", {"-c", "exec \"$0\" -h \"$1\" " + command, ProgramPath(), FReceiver.Address()});
    EXPECT_EQ(run.ExitCode, 0) << command;
    EXPECT_EQ(run.Out, out) << command;
    EXPECT_EQ(Plain(FReceiver.ReceiveAll()), sent) << command;
  }
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
    const TRunResult run = RunProcess("/usr/bin/prlimit", {"--as=16777216", ProgramPath(), "-h",
                                                           FReceiver.Address(), "-f", file});
    EXPECT_EQ(run.ExitCode, exitCode) << file;
    EXPECT_EQ(run.Out, out) << file;
  }
  EXPECT_EQ(FReceiver.ReceiveAll(), std::vector<std::string>{});
}

TEST_F(ProgramTest, InteractiveModeOnATerminal) {
  const TRunResult run =
      RunOnTerminal(ProgramPath(), With({"-p", "user.warn", "-t", "typed"}),
                    {{"Ctrl+c", "hello from a terminal\r"}, {"OK. message sent.", "\r"}});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("orvologger ver." ORVO_PRODUCT_VERSION), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("OK. message sent."), std::string::npos) << run.Out;
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            std::vector{Expected(12, "typed:hello from a terminal")});
}

}  // namespace
}  // namespace orvo::test
