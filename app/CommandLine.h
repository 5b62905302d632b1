#pragma once

#include <string>
#include <string_view>
#include <vector>

// The program's parameters: parameter 0 is the running program file, the others are the
// command line's parameters, numbered from 1.
namespace orvo::cmdline {

// Splits a whole command line, the program name first. Parameters are separated by runs of
// characters of code 32 or below; a double quote opens a stretch, up to the next double quote
// or the end of the line, in which those characters belong to the parameter; the quotes
// themselves are dropped; stretches that touch form one parameter; a pair of double quotes
// where a parameter would begin is skipped like a blank. No parameter comes out empty.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Parameter 0, the full path of the running program, followed by the parameters of the
// argument vector that the process was given, empty ones dropped.
std::vector<std::string> ProgramParameters();

}  // namespace orvo::cmdline
