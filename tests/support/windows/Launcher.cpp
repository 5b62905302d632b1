#include "tests/support/Launcher.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace orvo::test {

namespace {

// Closes a handle once, when asked or at the end of the scope.
class THandle {
 public:
  THandle() = default;
  explicit THandle(HANDLE handle) : FHandle(handle) {}
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  ~THandle() { Close(); }
  HANDLE Get() const noexcept { return FHandle; }
  HANDLE* Out() noexcept { return &FHandle; }
  void Close() noexcept {
    if (FHandle != nullptr && FHandle != INVALID_HANDLE_VALUE)
      ::CloseHandle(FHandle);
    FHandle = nullptr;
  }

 private:
  HANDLE FHandle = nullptr;
};

// A pipe whose one end the child inherits.
void MakePipe(THandle& read, THandle& write, bool childReads) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!::CreatePipe(read.Out(), write.Out(), &inherit, 0))
    throw std::runtime_error("CreatePipe");
  ::SetHandleInformation(childReads ? write.Get() : read.Get(), HANDLE_FLAG_INHERIT, 0);
}

void ReadAll(HANDLE pipe, std::string& into) {
  char buffer[4096];
  DWORD count = 0;
  while (::ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) && count > 0)
    into.append(buffer, count);
}

// A parameter as the program's own splitting reads it back: quoted when it holds blanks (any
// character of code 32 or below) or is empty. A double quote inside cannot be written so.
std::string Quoted(const std::string& parameter) {
  if (parameter.find('"') != std::string::npos)
    throw std::invalid_argument("a parameter with a double quote: " + parameter);
  const bool blank =
      parameter.empty() || std::any_of(parameter.begin(), parameter.end(),
                                       [](char c) { return static_cast<unsigned char>(c) <= 32; });
  return blank ? "\"" + parameter + "\"" : parameter;
}

}  // namespace

TRunResult RunProcess(const std::string& program, const std::vector<std::string>& parameters,
                      const std::string& input, std::chrono::seconds limit) {
  std::string commandLine;
  for (const std::string& parameter : parameters)
    commandLine += (commandLine.empty() ? "" : " ") + Quoted(parameter);
  return RunProcessWithCommandLine(program, commandLine, input, limit);
}

TRunResult RunProcessWithCommandLine(const std::string& program, const std::string& arguments,
                                     const std::string& input, std::chrono::seconds limit) {
  THandle inRead, inWrite, outRead, outWrite, errRead, errWrite;
  MakePipe(inRead, inWrite, true);
  MakePipe(outRead, outWrite, false);
  MakePipe(errRead, errWrite, false);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead.Get();
  startup.hStdOutput = outWrite.Get();
  startup.hStdError = errWrite.Get();
  std::string commandLine = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &process))
    throw std::runtime_error("CreateProcessA " + std::to_string(::GetLastError()));
  const THandle processHandle(process.hProcess);
  const THandle threadHandle(process.hThread);
  // Only the child holds these ends now, so the pipes end when the child does.
  inRead.Close();
  outWrite.Close();
  errWrite.Close();

  TRunResult result;
  result.Pid = static_cast<int>(process.dwProcessId);
  std::thread feeder([&] {
    DWORD written = 0;
    for (std::size_t at = 0; at < input.size(); at += written) {
      if (!::WriteFile(inWrite.Get(), input.data() + at, static_cast<DWORD>(input.size() - at),
                       &written, nullptr) ||
          written == 0)
        break;
    }
    inWrite.Close();
  });
  std::thread outReader([&] { ReadAll(outRead.Get(), result.Out); });
  std::thread errReader([&] { ReadAll(errRead.Get(), result.Err); });

  const auto waitMs = static_cast<DWORD>(std::chrono::milliseconds(limit).count());
  if (::WaitForSingleObject(processHandle.Get(), waitMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(processHandle.Get(), 255);
    ::WaitForSingleObject(processHandle.Get(), INFINITE);
  } else {
    DWORD code = 0;
    ::GetExitCodeProcess(processHandle.Get(), &code);
    result.ExitCode = static_cast<int>(code);
  }
  // The ended process has closed its ends: the readers and the feeder finish.
  feeder.join();
  outReader.join();
  errReader.join();
  return result;
}

}  // namespace orvo::test
