#include "ProgramFixture.h"

#include <ctime>
#include <regex>

#include "net/IdStack.h"
#include "platform/Process.h"

namespace orvo::test {

namespace {

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

TRunResult RunOrvologger(const std::vector<std::string>& parameters, const std::string& input) {
  return RunProcess(ProgramPath(), parameters, input);
}

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
