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
  const TRunResult run = RunOrvologgerWithEnvironment(
      {"-h", "flaky host!:" + std::to_string(FReceiver.Port()), "-s", "-f", file}, ResolvesTwice());
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), (std::vector{Expected(13, ":5"), Expected(13, ":4")}));
  EXPECT_EQ(run.Out, HostNotFound);
  EXPECT_EQ(run.Err, "") << "no echo after a failed run";
}

// The program's command and parameters, after a shell script that runs them as "$@".
std::vector<std::string> ShellRunning(const std::string& script,
                                      std::initializer_list<std::string> parameters) {
  std::vector<std::string> words{"-c", script, "sh"};
  const std::vector<std::string> command = ProgramCommand();
  words.insert(words.end(), command.begin(), command.end());
  words.insert(words.end(), parameters);
  return words;
}

TEST_F(ProgramTest, AStandardOutputThatFailsEndsTheRunWithExitCode9) {
  const TRunResult full = RunProcess("/bin/sh", ShellRunning("exec \"$@\" > /dev/full", {"-help"}));
  EXPECT_EQ(full.ExitCode, 9);
  // The reader of the pipe is gone before the program writes: the write fails, no signal ends it.
  const TRunResult broken = RunProcess(
      "/bin/bash", ShellRunning("{ sleep 0.3; \"$@\"; echo \"exit $?\" >&2; } | true", {"-help"}));
  EXPECT_EQ(broken.Err, "exit 9\n");
}

// Started with standard error closed, the program's socket must not take descriptor 2 and
// receive the echo.
TEST_F(ProgramTest, AClosedStandardErrorTakesNoEchoIntoTheSocket) {
  const TRunResult run = RunProcess(
      "/bin/sh", ShellRunning("exec \"$@\" 2>&-", {"-s", "-h", FReceiver.Address(), "hello"}));
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
  if (ProgramCommand().size() > 1)
    GTEST_SKIP() << "under an emulator the limit binds the emulator, whose own address space "
                    "holds the emulated program's and its translated code";
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
      RunOrvologgerOnTerminal(With({"-p", "user.warn", "-t", "typed"}),
                              {{"Ctrl+c", "hello from a terminal\r"}, {"OK. message sent.", "\r"}});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("orvologger ver." ORVO_PRODUCT_VERSION), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("OK. message sent."), std::string::npos) << run.Out;
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            std::vector{Expected(12, "typed:hello from a terminal")});
}

}  // namespace
}  // namespace orvo::test
