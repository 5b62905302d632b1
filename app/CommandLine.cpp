#include "app/CommandLine.h"

#include "base/Text.h"
#include "platform/Process.h"

namespace orvo::cmdline {

namespace {

// Skips separators and pairs of double quotes that stand where a parameter would begin.
std::size_t SkipToParameter(std::string_view line, std::size_t at) {
  for (;;) {
    while (at < line.size() && text::IsBlankOrControl(line[at]))
      ++at;
    if (line.substr(at).starts_with("\"\"")) {
      at += 2;
      continue;
    }
    return at;
  }
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
  std::vector<std::string> parameters;
  std::size_t at = SkipToParameter(commandLine, 0);
  while (at < commandLine.size()) {
    std::string parameter;
    while (at < commandLine.size() && !text::IsBlankOrControl(commandLine[at])) {
      if (commandLine[at] != '"') {
        parameter += commandLine[at++];
        continue;
      }
      const std::size_t close = commandLine.find('"', at + 1);
      const std::size_t end = close == std::string_view::npos ? commandLine.size() : close;
      parameter.append(commandLine.substr(at + 1, end - at - 1));
      at = close == std::string_view::npos ? end : close + 1;
    }
    // Only a lone double quote at the very end of the line gives nothing here.
    if (!parameter.empty())
      parameters.push_back(std::move(parameter));
    at = SkipToParameter(commandLine, at);
  }
  return parameters;
}

std::vector<std::string> ProgramParameters() {
  const platform::TCommandLine given = platform::ProgramCommandLine();
  const auto* line = std::get_if<std::string>(&given);
  const std::vector<std::string> arguments =
      line != nullptr ? SplitCommandLine(*line) : std::get<std::vector<std::string>>(given);
  std::vector<std::string> parameters{platform::ModuleFileName()};
  for (std::size_t i = 1; i < arguments.size(); ++i)
    if (!arguments[i].empty())
      parameters.push_back(arguments[i]);
  return parameters;
}

}  // namespace orvo::cmdline
