#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's parameters: parameter 0 is the running program file, the others are the
// command line's parameters, numbered from 1.
namespace orvo::cmdline {

// Splits a whole command line, program name first, at runs of codes 0..32 outside double quotes.
// Quotes are dropped, quoted and unquoted stretches that touch form one parameter, and a pair of
// quotes where a parameter would begin counts as a blank; no parameter comes out empty.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Parameter 0, the full path of the running program, followed by the parameters of the
// argument vector that the process was given, empty ones dropped.
std::vector<std::string> ProgramParameters();

}  // namespace orvo::cmdline
