// The parser against datagrams that another syslog client sends: util-linux logger, run as a
// process, to a receiver on loopback.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "syslog/IdSysLogMessage.h"
#include "tests/support/LoopbackReceiver.h"

extern char** environ;

namespace orvo {
namespace {

// Whether an executable file of that name lies in one of the folders of PATH.
bool OnSearchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':'))
    if (!folder.empty() && ::access((folder + "/" + name).c_str(), X_OK) == 0)
      return true;
  return false;
}

// The local host name up to its first dot, as logger writes it into the header.
std::string ShortHostName() {
  std::array<char, 256> name{};
  gethostname(name.data(), name.size() - 1);
  const std::string text = name.data();
  return text.substr(0, text.find('.'));
}

// Runs a program from the search path with the arguments and waits for it; gives its process id.
pid_t RunAndWait(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? pid : -1;
}

// util-linux logger, a syslog client written elsewhere, sends to a receiver on loopback; each
// datagram decodes to what logger was asked to send.
TEST(LoggerPeerTest, DecodesWhatLoggerSends) {
  if (!OnSearchPath("logger"))
    GTEST_SKIP() << "util-linux logger is not installed (Debian package bsdutils; ./dev deps "
                    "installs it)";
  test::TLoopbackReceiver receiver;
  struct Case {
    std::string Priority;
    int Pri;
    std::string Tag;
    bool WithPid;
    std::string Text;
  };
  const std::vector<Case> cases = {
      {"local3.err", 19 * 8 + 3, "myapp", true, "hello there"},
      {"uucp.debug", 8 * 8 + 7, "x", false, "no pid: but a colon"},
      {"user.notice", 13, "orvo42", true, "  spaced  "},
      {"local7.emerg", 23 * 8, "T", false, std::string(300, 'z')},
      {"cron.info", 9 * 8 + 6, "clock", true, "[1] bracketed"},
  };
  TIdSysLogMessage message;
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {
        "logger", "--rfc3164", "-d", "-n",      "127.0.0.1", "-P", std::to_string(receiver.Port()),
        "-t",     c.Tag,       "-p", c.Priority};
    if (c.WithPid)
      arguments.push_back("-i");
    arguments.push_back("--");
    arguments.push_back(c.Text);
    const pid_t loggerPid = RunAndWait(arguments);
    ASSERT_GT(loggerPid, 0) << "logger did not run";
    const auto datagram = receiver.Receive();
    ASSERT_TRUE(datagram.has_value()) << "nothing from logger";

    std::istringstream stream(datagram->Payload);
    message.LoadFromDatagram(stream, static_cast<std::int64_t>(datagram->Payload.size()),
                             "127.0.0.1");
    EXPECT_EQ(message.RawText(), datagram->Payload);
    EXPECT_EQ(message.Pri(), c.Pri) << datagram->Payload;
    EXPECT_EQ(message.Msg().Process(), c.Tag) << datagram->Payload;
    EXPECT_EQ(message.Msg().PID(), c.WithPid ? loggerPid : -1) << datagram->Payload;
    EXPECT_EQ(message.Msg().Content(), " " + c.Text) << "logger puts a space after the colon";
    EXPECT_EQ(message.Hostname(), ShortHostName()) << datagram->Payload;
    EXPECT_LE(
        std::llabs(message.TimeStamp().Milliseconds() - platform::GetLocalTime().Milliseconds()),
        10'000)
        << datagram->Payload;
  }
}

}  // namespace
}  // namespace orvo
