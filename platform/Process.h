#pragma once

#include <cstdint>
#include <optional>
#include <string>
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

// The vector kept by SetProgramArguments, the program as it was called first.
std::vector<std::string> ProgramArguments();

// GetCommandLineA where the system hands over one command line; nothing where it hands over an
// argument vector.
std::optional<std::string> CommandLineText();

}  // namespace orvo::platform
