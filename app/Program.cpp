#include "app/Program.h"

#include <cstdlib>
#include <exception>
#include <new>
#include <string>

#include "app/CommandLine.h"
#include "app/ConsoleIO.h"
#include "app/StdInReader.h"
#include "app/VerRes.h"
#include "app/orvosyslog.h"
#include "base/Exception.h"
#include "base/Text.h"
#include "platform/Process.h"

namespace orvo {

namespace {

constexpr int kExitFailure = 9;

// The maker line of the banner: the maker's name and address as the README gives them.
constexpr std::string_view kMakerLine = " orvologger project orvologger.git\r\n";
constexpr std::string_view kSynopsis =
    "SYNOPSIS\r\n orvologger [-is] [-h host:port] [-f file] [-l file] [-p pri] [-t tag] [--] "
    "[message ...]\r\n";
constexpr std::string_view kHelpFooter =
    "For more information, see readme.txt or readme_jp.txt(JAPANESE).";
constexpr std::string_view kPrompt = "\r\nto exit, hit return or Ctrl+c\r\n";
constexpr std::string_view kAcknowledgement =
    "\r\nOK. message sent.\r\nto exit, hit return or Ctrl+c\r\n";

void WriteBannerAndSynopsis() {
  const std::string program = platform::ModuleFileName();
  const std::string name = ProductNameOf(program);
  const std::string version = ProductVersionOf(program);
  console::WriteLine(console::TStream::StdOut,
                     "\r\n" + name + " ver." + version + "\r\n" + std::string(kMakerLine));
  console::WriteLine(console::TStream::StdOut, kSynopsis);
}

void SendAndEcho(TOrvoSysLogger& logger) {
  std::string echo;
  logger.SendMessages(echo);
  if (logger.Echo())
    console::WriteLine(console::TStream::StdErr, echo);
}

void RunInteractive(TOrvoSysLogger& logger) {
  WriteBannerAndSynopsis();
  console::WriteLine(console::TStream::StdOut, kPrompt);
  TStdInReader input;
  for (;;) {
    std::string line = input.ReadLine();
    if (line.empty())
      return;
    // A line of blanks and control characters only sends nothing, but is acknowledged.
    if (!text::TrimView(line).empty()) {
      logger.SetMessageText(std::move(line));
      SendAndEcho(logger);
    }
    console::WriteLine(console::TStream::StdOut, kAcknowledgement);
  }
}

void Run() {
  TOrvoSysLogger logger;
  logger.ParseCommandLine();
  if (logger.ShowHelp()) {
    WriteBannerAndSynopsis();
    console::WriteLine(console::TStream::StdOut, kHelpFooter);
  } else if (logger.NothingToSend()) {
    RunInteractive(logger);
  } else {
    SendAndEcho(logger);
  }
}

// Said when memory runs out, wherever that happens.
constexpr std::string_view kOutOfMemory = "メモリが不足しています";

// The failure's message alone, as one line on standard output. If even that can't be written,
// the exit code still tells. Nothing is allocated, so this works when memory has run out.
void ReportFailure(std::string_view message) noexcept {
  platform::WriteStdOut(message);
  platform::WriteStdOut("\r\n");
}

// With no memory even to raise bad_alloc, a failed allocation ends in terminate; that too is
// memory running out.
[[noreturn]] void OnTerminate() noexcept {
  bool outOfMemory = true;
  if (const std::exception_ptr active = std::current_exception()) {
    try {
      std::rethrow_exception(active);
    } catch (const std::bad_alloc&) {
    } catch (...) {
      outOfMemory = false;
    }
  }
  if (!outOfMemory)
    std::abort();
  ReportFailure(kOutOfMemory);
  std::_Exit(kExitFailure);
}

}  // namespace

int RunProgram(int argc, const char* const* argv) {
  std::set_terminate(&OnTerminate);
  try {
    platform::SetProgramArguments(argc, argv);
    // The module lives inside the try block, so it is freed before the message is written.
    Run();
    return 0;
  } catch (const std::bad_alloc&) {
    ReportFailure(kOutOfMemory);
  } catch (const Exception& failure) {
    ReportFailure(failure.Message());
  } catch (const std::exception& failure) {
    ReportFailure(failure.what());
  } catch (...) {
    ReportFailure({});
  }
  return kExitFailure;
}

}  // namespace orvo
