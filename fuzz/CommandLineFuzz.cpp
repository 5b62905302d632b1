// Feeds arbitrary bytes to the option scan two ways: as a whole Windows command line, split by
// the program's own rules and then scanned, and as an argument vector of NUL-separated
// parameters, as POSIX hands them over (there a parameter may hold double quotes, which the
// field splitter then reads). The split must give no empty parameter and no double quote, and
// must split a line that quotes each of its parameters back into the same parameters; the scan
// must give a facility and a severity of its tables and a usable port.
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

// Each parameter in double quotes, one blank between them.
std::string Quoted(const Parameters& parameters) {
  std::string line;
  for (const std::string& parameter : parameters)
    line += (line.empty() ? "\"" : " \"") + parameter + "\"";
  return line;
}

void SplitAndScan(std::string_view commandLine) {
  const Parameters parameters = orvo::cmdline::SplitCommandLine(commandLine);
  for (const std::string& parameter : parameters) {
    Require(!parameter.empty());
    Require(parameter.find('"') == std::string::npos);
  }
  Require(orvo::cmdline::SplitCommandLine(Quoted(parameters)) == parameters);
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
