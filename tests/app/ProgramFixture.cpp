#include "ProgramFixture.h"

#include <ctime>
#include <regex>

#include "net/IdStack.h"
#include "platform/Process.h"

#ifdef ORVO_HAS_PROGRAM_EMULATOR
#include "ProgramEmulator.h"
#endif

namespace orvo::test {

namespace {

// The emulator's command and options that start a program built for another processor; none
// in a native build.
std::vector<std::string> Emulator() {
#ifdef ORVO_HAS_PROGRAM_EMULATOR
  return {ORVO_PROGRAM_EMULATOR};
#else
  return {};
#endif
}

// Runs command's first word with the others and the parameters after it.
TRunResult RunCommand(std::vector<std::string> command, const std::vector<std::string>& parameters,
                      const std::string& input = {}) {
  command.insert(command.end(), parameters.begin(), parameters.end());
  const std::string program = command.front();
  command.erase(command.begin());
  return RunProcess(program, command, input);
}

// "Mmm dd" of today, as the datagram's header writes it (strftime's %e is not everywhere).
std::string Today() {
  static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  ::localtime_s(&local, &now);
#else
  ::localtime_r(&now, &local);
#endif
  const std::string day = std::to_string(local.tm_mday);
  return std::string(months[local.tm_mon]) + (day.size() == 1 ? "  " : " ") + day;
}

}  // namespace

std::string LocalAddress() {
  static const std::string address = NewStack()->FirstLocalAddress();
  return address;
}

std::string ProgramPath() {
  const std::string self = platform::ModuleFileName();
  return self.substr(0, self.find_last_of("/\\") + 1) + ORVOLOGGER_FILE_NAME;
}

std::vector<std::string> ProgramCommand() {
  std::vector<std::string> command = Emulator();
  command.push_back(ProgramPath());
  return command;
}

TRunResult RunOrvologger(const std::vector<std::string>& parameters, const std::string& input) {
  return RunCommand(ProgramCommand(), parameters, input);
}

#ifndef _WIN32
TRunResult RunOrvologgerWithEnvironment(const std::vector<std::string>& parameters,
                                        const std::vector<std::string>& environment) {
  std::vector<std::string> command = Emulator();
  if (command.empty())
    return RunProcessWithEnvironment(ProgramPath(), parameters, environment);
  // qemu-user sets these for the emulated program alone: in the emulator's own environment a
  // preloaded library of the other processor would meet the build machine's loader.
  for (const std::string& setting : environment)
    command.insert(command.end(), {"-E", setting});
  command.push_back(ProgramPath());
  return RunCommand(command, parameters);
}

TRunResult RunOrvologgerOnTerminal(const std::vector<std::string>& parameters,
                                   const std::vector<TKeystrokes>& typing) {
  std::vector<std::string> command = ProgramCommand();
  command.insert(command.end(), parameters.begin(), parameters.end());
  const std::string program = command.front();
  command.erase(command.begin());
  return RunOnTerminal(program, command, typing);
}
#endif

std::string WithoutTimeOfDay(const std::string& text) {
  static const std::regex time(
      R"(^(<[0-9]+>[A-Z][a-z]{2} [ 0-9][0-9] )[0-9]{2}:[0-9]{2}:[0-9]{2})");
  return std::regex_replace(text, time, "$1hh:mm:ss", std::regex_constants::format_first_only);
}

std::string Expected(int pri, const std::string& msg) {
  return "<" + std::to_string(pri) + ">" + Today() + " hh:mm:ss " + LocalAddress() + " " + msg;
}

std::vector<std::string> Plain(const std::vector<std::string>& datagrams) {
  std::vector<std::string> texts;
  for (const std::string& datagram : datagrams)
    texts.push_back(WithoutTimeOfDay(datagram));
  return texts;
}

}  // namespace orvo::test
