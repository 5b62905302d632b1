#include <windows.h>

#include "platform/Process.h"

namespace orvo::platform {

std::string ModuleFileName() {
  std::string path(MAX_PATH, '\0');
  // The path is cut to the buffer when the buffer is too short: grow until it fits.
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768)
      return {};
    path.resize(path.size() * 2);
  }
}

std::int32_t CurrentProcessId() noexcept {
  return static_cast<std::int32_t>(::GetCurrentProcessId());
}

// A closed standard handle is no number that a file or socket opened later takes over.
void OpenClosedStandardDescriptors() noexcept {}

// A write to a pipe whose reader has gone fails with an error code here; there is no signal.
void IgnoreBrokenPipes() noexcept {}

// The C runtime's split of the command line follows its own quoting rules, not the program's,
// so the entry point's vector is not kept: the program splits GetCommandLineA itself.
void SetProgramArguments(int, const char* const*) {}

TCommandLine ProgramCommandLine() {
  const char* line = ::GetCommandLineA();
  return std::string(line != nullptr ? line : "");
}

}  // namespace orvo::platform
