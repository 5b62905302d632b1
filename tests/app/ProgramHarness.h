#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Runs the built orvologger as a process and receives what it sends on loopback.
namespace orvo::harness {

struct TRunResult {
  int Pid = 0;
  int ExitCode = -1;  // -1 when the process did not end by itself in time
  std::string Out;
  std::string Err;
};

// Runs any program, with the same plumbing as RunOrvologger.
TRunResult RunProcess(const std::string& program, const std::vector<std::string>& parameters,
                      const std::string& input = {},
                      const std::vector<std::string>& environment = {},
                      std::chrono::seconds limit = std::chrono::seconds(20));

// Runs the program with the given parameters, standard input fed from input (then closed) and
// the given "NAME=value" settings added to its environment.
TRunResult RunOrvologger(const std::vector<std::string>& parameters, const std::string& input = {},
                         const std::vector<std::string>& environment = {},
                         std::chrono::seconds limit = std::chrono::seconds(20));

// As a person at a terminal: the program runs under a pseudo-terminal; each keystroke string
// is typed once the output so far contains the text waited for.
struct TKeystrokes {
  std::string WaitFor;
  std::string Type;
};
TRunResult RunOrvologgerOnTerminal(const std::vector<std::string>& parameters,
                                   const std::vector<TKeystrokes>& typing,
                                   std::chrono::seconds limit = std::chrono::seconds(20));

// A UDP socket bound to 127.0.0.1 on a free port.
class TUdpReceiver {
 public:
  TUdpReceiver();
  ~TUdpReceiver();
  TUdpReceiver(const TUdpReceiver&) = delete;
  TUdpReceiver& operator=(const TUdpReceiver&) = delete;

  int Port() const noexcept { return FPort; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }

  // The next datagram, or nothing when none arrives within wait.
  std::optional<std::string> Receive(std::chrono::milliseconds wait = std::chrono::seconds(5));
  // Every datagram that arrives until none has come for quiet.
  std::vector<std::string> ReceiveAll(
      std::chrono::milliseconds quiet = std::chrono::milliseconds(300));

 private:
  int FSocket = -1;
  int FPort = 0;
};

// A datagram text taken apart: "<PRI>Mmm dd hh:mm:ss HOST MSG".
struct TDatagram {
  int Pri = -1;
  std::string Stamp;
  std::string Host;
  std::string Msg;
};
std::optional<TDatagram> SplitDatagram(const std::string& text);

// The datagram text with its time of day replaced by "hh:mm:ss", so texts compare exactly.
std::string WithoutTimeOfDay(const std::string& text);

// The local time now, formatted by strftime.
std::string LocalTimeNow(const char* format);

// The host name the program puts into its datagrams: the local host's first IPv4 address.
std::string LocalAddress();

// A directory of its own under the temporary directory, removed with the object.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  const std::string& Path() const noexcept { return FPath; }
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string FPath;
};

}  // namespace orvo::harness
