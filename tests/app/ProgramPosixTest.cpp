// The built program's scenarios that only POSIX can set up or that follow POSIX's own rules:
// a resolver swapped in by preloading, standard output on /dev/full or a closed pipe, standard
// descriptors left non-blocking, a pseudo-terminal, and line feeds ending typed lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

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

// The sanitizer options with its check that it is loaded first, which a preload fails, off.
std::string AsanOptionsForAPreload() {
  std::string asan = "ASAN_OPTIONS=verify_asan_link_order=0";
  if (const char* given = std::getenv("ASAN_OPTIONS"))
    asan += std::string(":") + given;
  return asan;
}

// The preloaded resolver lets "flaky host!" resolve twice; the third send finds no host.
std::vector<std::string> ResolvesTwice() {
  return {"LD_PRELOAD=" FLAKY_RESOLVER_PATH, "ORVO_FLAKY_RESOLVES=2", AsanOptionsForAPreload()};
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

// 29 February 2040 13:14:15 UTC is past the last second a 32-bit time_t holds (2038-01-19
// 03:14:07): the stamp goes through the system clock and the C library's local time.
TEST_F(ProgramTest, AClockPast2038StampsItsDateAndTime) {
  const TRunResult run = RunOrvologgerWithEnvironment(
      With({"leap", "day"}), {"LD_PRELOAD=" FIXED_CLOCK_PATH, "ORVO_FIXED_CLOCK=2214134055",
                              "TZ=UTC", AsanOptionsForAPreload()});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(FReceiver.ReceiveAll(),
            std::vector<std::string>{"<13>Feb 29 13:14:15 " + LocalAddress() + " :leap day"});
}

// A file of 5 GiB, its text before a hole the system reads as NULs: it opens where file offsets
// are 32 bits too (a 32-bit build asks for 64-bit ones), and its text is what is sent.
TEST_F(ProgramTest, AFileOf5GiBOpensAndSendsItsTextUpToTheHole) {
  const std::string file = FDir.Write("sparse.txt", "first\nsecond\n");
  ASSERT_EQ(RunProcess("/usr/bin/truncate", {"-s", "5G", file}).ExitCode, 0);
  const TRunResult run = RunOrvologger(With({"-f", file}));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()),
            (std::vector{Expected(13, ":second"), Expected(13, ":first")}));
}

// The program's command and parameters, after a shell script that runs them as "$@".
std::vector<std::string> ShellRunning(const std::string& script,
                                      const std::vector<std::string>& parameters) {
  std::vector<std::string> words{"-c", script, "sh"};
  const std::vector<std::string> command = ProgramCommand();
  words.insert(words.end(), command.begin(), command.end());
  words.insert(words.end(), parameters.begin(), parameters.end());
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

// Runs the program with standard input and output on pipes whose ends it gets are non-blocking,
// as a parent may leave them. `beforeStart` gets the output pipe's end that the program writes
// to; `feed` writes to the program's input (closed afterwards). Gives the exit code and output.
TRunResult RunOnNonBlockingPipes(const std::vector<std::string>& parameters,
                                 const std::function<void(int)>& beforeStart,
                                 const std::function<void(int)>& feed) {
  int in[2], out[2];
  EXPECT_EQ(::pipe(in), 0);
  EXPECT_EQ(::pipe(out), 0);
  ::fcntl(in[0], F_SETFL, O_NONBLOCK);
  ::fcntl(out[1], F_SETFL, O_NONBLOCK);
  beforeStart(out[1]);
  std::vector<std::string> command = ProgramCommand();
  command.insert(command.end(), parameters.begin(), parameters.end());
  std::vector<char*> argv;
  for (std::string& word : command)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  // A program that ended early must not take the test with it when the test writes.
  ::signal(SIGPIPE, SIG_IGN);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]})
      ::close(fd);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  feed(in[1]);
  ::close(in[1]);
  TRunResult run;
  char buffer[4096];
  for (ssize_t count; (count = ::read(out[0], buffer, sizeof buffer)) > 0;)
    run.Out.append(buffer, static_cast<std::size_t>(count));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// A line that reaches an empty non-blocking standard input later, and a full non-blocking
// standard output, are waited for.
TEST_F(ProgramTest, NonBlockingStandardDescriptorsAreWaitedOn) {
  const TRunResult late = RunOnNonBlockingPipes(
      With({"-t", "late"}), [](int) {},
      [](int input) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        EXPECT_EQ(::write(input, "line\n", 5), 5) << "the program did not wait";
      });
  EXPECT_EQ(late.ExitCode, 0) << late.Out;
  EXPECT_EQ(late.Out, Banner + Synopsis + Prompt + Ack);
  EXPECT_EQ(Plain(FReceiver.ReceiveAll()), std::vector{Expected(13, "late:line")});

  std::size_t filled = 0;
  const TRunResult full = RunOnNonBlockingPipes(
      {"-help"},
      [&](int output) {
        const std::string block(4096, 'f');
        for (ssize_t count; (count = ::write(output, block.data(), block.size())) > 0;)
          filled += static_cast<std::size_t>(count);
      },
      [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(300)); });
  EXPECT_EQ(full.ExitCode, 0);
  ASSERT_GT(filled, 0u);
  EXPECT_EQ(full.Out.substr(0, filled), std::string(filled, 'f'));
  EXPECT_EQ(full.Out.substr(filled, Banner.size()), Banner);
}

// Sending to loopback's broadcast address needs the broadcast option, which the sender leaves
// off: the system refuses with its access error, WinSock's 10013.
TEST_F(ProgramTest, ABroadcastWithoutTheBroadcastOptionIsAccessDenied) {
  const TRunResult run = RunOrvologger({"-h", "127.255.255.255:9", "hello"});
  EXPECT_EQ(run.ExitCode, 9);
  EXPECT_EQ(run.Out, "Socket Error # 10013\r\nAccess denied.\r\n");
}

// Started with a standard descriptor closed, the program finds it open on /dev/null, in the
// direction the descriptor is used: its socket does not take the number and receive the echo,
// writes go nowhere, and interactive mode finds the end of its input at once.
TEST_F(ProgramTest, ClosedStandardDescriptorsAreOpenOnTheNullDevice) {
  const struct {
    std::string Closing;
    std::vector<std::string> Parameters;
    std::string Out;
    std::vector<std::string> Sent;
  } cases[] = {{"2>&-", {"-s", "hello"}, "", {Expected(13, ":hello")}},
               {">&-", {"-help"}, "", {}},
               {"<&-", {}, Banner + Synopsis + Prompt, {}}};
  for (const auto& [closing, parameters, out, sent] : cases) {
    std::vector<std::string> given{"-h", FReceiver.Address()};
    given.insert(given.end(), parameters.begin(), parameters.end());
    const TRunResult run = RunProcess("/bin/sh", ShellRunning("exec \"$@\" " + closing, given));
    EXPECT_EQ(run.ExitCode, 0) << closing;
    EXPECT_EQ(run.Out, out) << closing;
    EXPECT_EQ(Plain(FReceiver.ReceiveAll()), sent) << closing;
  }
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
