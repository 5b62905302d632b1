// The program against a real syslog server: rsyslogd with a configuration of its own, listening
// on 127.0.0.1, files every message with its parsed fields; the test reads them back.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>
#include <thread>

#include "ProgramFixture.h"

namespace orvo::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* Rsyslogd = "/usr/sbin/rsyslogd";

// The local time now, formatted by strftime.
std::string LocalTimeNow(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, format, &local);
  return text;
}

// A port that nothing on 127.0.0.1 uses at this moment.
int FreeUdpPort() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

void SendProbe(int port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const std::string probe = "<13>Jan  1 00:00:00 127.0.0.1 probe:ready";
  ::sendto(fd, probe.data(), probe.size(), 0, reinterpret_cast<sockaddr*>(&address),
           sizeof address);
  ::close(fd);
}

std::vector<std::vector<std::string>> ReadRecords(const std::string& path) {
  std::vector<std::vector<std::string>> records;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    // The message is the last field and may hold the separator itself.
    for (int i = 0; i < 8 && std::getline(stream, field, '|'); ++i)
      fields.push_back(field);
    std::getline(stream, field);
    fields.push_back(stream ? field : std::string());
    records.push_back(fields);
  }
  return records;
}

// rsyslogd in the foreground on a free port of 127.0.0.1; stopped when the object goes, and
// also when the test process dies first.
class TRsyslogServer {
 public:
  explicit TRsyslogServer(const TTempDir& dir)
      : FPort(FreeUdpPort()), FLog(dir.File("messages.log")) {
    const std::string config = dir.Write(
        "rsyslog.conf",
        "global(workDirectory=\"" + dir.Path() +
            "\")\n"
            "module(load=\"imudp\")\n"
            "input(type=\"imudp\" address=\"127.0.0.1\" port=\"" +
            std::to_string(FPort) +
            "\")\n"
            "template(name=\"fields\" type=\"string\" string=\"%pri%|%syslogfacility-text%|"
            "%syslogseverity-text%|%timereported:::date-rfc3339%|%hostname%|%syslogtag%|"
            "%programname%|%procid%|%msg%\\n\")\n"
            "*.* action(type=\"omfile\" file=\"" +
            FLog + "\" template=\"fields\")\n");
    const std::string pidFile = dir.File("rsyslogd.pid");
    const std::string output = dir.File("rsyslogd.out");
    FPid = ::fork();
    if (FPid == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      std::freopen(output.c_str(), "w", stdout);
      std::freopen(output.c_str(), "a", stderr);
      ::execl(Rsyslogd, Rsyslogd, "-n", "-f", config.c_str(), "-i", pidFile.c_str(), nullptr);
      ::_exit(127);
    }
  }

  ~TRsyslogServer() {
    if (FPid <= 0)
      return;
    ::kill(FPid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(FPid, &status, WNOHANG) == 0; ++i)
      ::usleep(10000);
    if (::waitpid(FPid, &status, WNOHANG) == 0) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, &status, 0);
    }
  }

  int Port() const noexcept { return FPort; }

  // Waits until the server files what it receives, then returns how many records it holds.
  bool WaitUntilReady() {
    for (int i = 0; i < 100; ++i) {
      SendProbe(FPort);
      std::this_thread::sleep_for(100ms);
      if (!ReadRecords(FLog).empty())
        return true;
    }
    return false;
  }

  // The records filed after the probes, once there are count of them (or the wait is over).
  std::vector<std::vector<std::string>> WaitForRecords(std::size_t count) {
    std::vector<std::vector<std::string>> records;
    for (int i = 0; i < 100; ++i) {
      records.clear();
      for (auto& record : ReadRecords(FLog))
        if (record.size() > 5 && record[5] != "probe:")
          records.push_back(std::move(record));
      if (records.size() >= count)
        break;
      std::this_thread::sleep_for(100ms);
    }
    return records;
  }

 private:
  int FPort;
  std::string FLog;
  int FPid = -1;
};

struct TExpectedRecord {
  std::string Pri, Facility, Severity, Tag, ProgramName, ProcId, Msg;
};

void ExpectRecord(const std::vector<std::string>& record, const TExpectedRecord& expected,
                  const std::string& sentFrom, const std::string& sentUntil) {
  ASSERT_EQ(record.size(), 9u);
  EXPECT_EQ(record[0], expected.Pri);
  EXPECT_EQ(record[1], expected.Facility);
  EXPECT_EQ(record[2], expected.Severity);
  // The reported time is the time of the send, to the second, in the current year.
  const std::string reported = record[3].substr(0, 19);
  EXPECT_GE(reported, sentFrom);
  EXPECT_LE(reported, sentUntil);
  EXPECT_EQ(record[4], LocalAddress());
  EXPECT_EQ(record[5], expected.Tag);
  EXPECT_EQ(record[6], expected.ProgramName);
  EXPECT_EQ(record[7], expected.ProcId);
  EXPECT_EQ(record[8], expected.Msg);
}

TEST(RsyslogTest, RsyslogFilesEveryModeFieldByField) {
  if (::access(Rsyslogd, X_OK) != 0)
    GTEST_SKIP() << Rsyslogd
                 << " is not installed (Debian package rsyslog; ./dev deps installs it)";
  const TTempDir dir;
  TRsyslogServer server(dir);
  ASSERT_TRUE(server.WaitUntilReady()) << "rsyslogd did not come up";
  const std::string host = "127.0.0.1:" + std::to_string(server.Port());
  const std::string file = dir.Write("lines.txt", "file first\n\n   file second   \n");

  const std::string from = LocalTimeNow("%Y-%m-%dT%H:%M:%S");
  const TRunResult one = RunOrvologger(
      {"-h", host, "-p", "local3.err", "-t", "onemsg", "-i", "one", "message", "words"});
  const TRunResult lines =
      RunOrvologger({"-h", host, "-p", "mail.warning", "-t", "filetag", "-f", file});
  const TRunResult typed =
      RunOrvologger({"-h", host, "-p", "daemon.info", "-is"}, "typed line\n\n");
  const std::string until = LocalTimeNow("%Y-%m-%dT%H:%M:%S");
  EXPECT_EQ(one.ExitCode, 0);
  EXPECT_EQ(lines.ExitCode, 0);
  EXPECT_EQ(typed.ExitCode, 0);

  const auto records = server.WaitForRecords(4);
  ASSERT_EQ(records.size(), 4u);
  const std::string onePid = std::to_string(one.Pid);
  const std::string typedPid = std::to_string(typed.Pid);
  ExpectRecord(
      records[0],
      {"155", "local3", "err", "onemsg[" + onePid + "]:", "onemsg", onePid, "one message words"},
      from, until);
  ExpectRecord(records[1], {"20", "mail", "warning", "filetag:", "filetag", "-", "file second"},
               from, until);
  ExpectRecord(records[2], {"20", "mail", "warning", "filetag:", "filetag", "-", "file first"},
               from, until);
  ExpectRecord(records[3],
               {"30", "daemon", "info", "[" + typedPid + "]:", "", typedPid, "typed line"}, from,
               until);
}

}  // namespace
}  // namespace orvo::test
