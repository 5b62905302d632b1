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

// Opens every one of the standard descriptors 0, 1 and 2 that is closed on the null device, so
// that no socket or file the program opens later takes its number and receives the console's
// texts. Where standard handles are no small numbers that a later open reuses (Windows), nothing.
void OpenClosedStandardDescriptors() noexcept;

// A write to a pipe whose reader has gone then fails with an error the program reports, instead
// of ending the process by a signal.
void IgnoreBrokenPipes() noexcept;

// The entry point hands its argument vector over once; until it has, the vector is the one the
// system recorded when the process started. Where the system hands the program one command line
// to split itself (Windows), the entry point's vector is not kept.
void SetProgramArguments(int argc, const char* const* argv);
void SetProgramArguments(std::vector<std::string> arguments);

// The argument vector, the program as it was called first.
std::vector<std::string> ProgramArguments();

// The whole command line, program name first, where the system hands it over as one text for
// the program to split (GetCommandLineA); nothing where it hands over an argument vector, or
// once a vector was given with SetProgramArguments.
std::optional<std::string> CommandLineText();

}  // namespace orvo::platform
