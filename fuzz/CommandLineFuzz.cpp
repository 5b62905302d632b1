// Feeds arbitrary bytes to the option scan two ways: as a whole Windows command line, split by
// the program's own rules and then scanned, and as an argument vector of NUL-separated
// parameters, as POSIX hands them over (there a parameter may hold double quotes, which the
// field splitter then reads). The split must agree with the rules read as one pass over the
// line; the scan must give a facility and a severity of its tables and a usable port.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/Options.h"

namespace {

using Parameters = std::vector<std::string>;

void Require(bool condition) {
  if (!condition)
    std::abort();
}

void RequireSaneScan(const Parameters& parameters) {
  const orvo::options::TScanResult result = orvo::options::ScanParameters(parameters);
  Require(static_cast<int>(result.Facility) < orvo::kFacilityCount);
  Require(static_cast<int>(result.Severity) < orvo::kSeverityCount);
  Require(result.Port > 0);
  std::size_t given = 0;
  for (const std::string& parameter : parameters)
    given += parameter.size() + 1;
  Require(result.MessageText.size() <= given);
}

// The splitting rules read as one pass that toggles at every double quote: outside quotes a
// character of code 32 or below ends the parameter, every other character but the quote
// belongs to it, and empty parameters are dropped.
Parameters SplitByToggling(std::string_view line) {
  Parameters parameters;
  std::string parameter;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && static_cast<unsigned char>(c) <= 32) {
      if (!parameter.empty())
        parameters.push_back(std::move(parameter));
      parameter.clear();
    } else {
      parameter += c;
    }
  }
  if (!parameter.empty())
    parameters.push_back(std::move(parameter));
  return parameters;
}

void SplitAndScan(std::string_view commandLine) {
  const Parameters parameters = orvo::cmdline::SplitCommandLine(commandLine);
  Require(parameters == SplitByToggling(commandLine));
  RequireSaneScan(parameters);
}

void ScanArgumentVector(std::string_view bytes) {
  Parameters parameters{"orvologger"};
  std::size_t start = 0;
  while (start <= bytes.size()) {
    const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
    if (end > start)
      parameters.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  RequireSaneScan(parameters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SplitAndScan(bytes);
  ScanArgumentVector(bytes);
  return 0;
}
