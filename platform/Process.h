#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// The running process: its program file, its id and its argument vector.
namespace orvo::platform {

// The full path of the running program file, or empty when the system can't tell it.
std::string ModuleFileName();

std::int32_t CurrentProcessId() noexcept;

// Opens each closed standard descriptor on the null device, so that no socket or file opened later
// takes its number and receives the console's texts. Nothing on Windows, whose handles are no
// small numbers a later open reuses.
void OpenClosedStandardDescriptors() noexcept;

// A write to a pipe whose reader has gone then fails instead of ending the process by a signal.
void IgnoreBrokenPipes() noexcept;

// Keeps the entry point's argument vector where the system hands one over (POSIX); Windows,
// which hands over one command line for the program to split, keeps none.
void SetProgramArguments(int argc, const char* const* argv);

// What the system hands the program: one command line for it to split (GetCommandLineA), or
// the argument vector kept by SetProgramArguments, the program as it was called first.
using TCommandLine = std::variant<std::string, std::vector<std::string>>;
TCommandLine ProgramCommandLine();

}  // namespace orvo::platform
