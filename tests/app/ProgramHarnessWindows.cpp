#include "ProgramHarnessWindows.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "platform/Process.h"

namespace orvo::winharness {

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

}  // namespace

std::string ProgramPath() {
  const std::string self = platform::ModuleFileName();
  return self.substr(0, self.find_last_of('\\') + 1) + ORVOLOGGER_PATH;
}

TRunResult RunOrvologger(const std::string& arguments, const std::string& input,
                         std::chrono::seconds limit) {
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
  const std::string program = ProgramPath();
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
  result.Pid = process.dwProcessId;
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

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  const auto path =
      std::filesystem::temp_directory_path() /
      ("orvo-e2e-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path);
  FPath = path.string();
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = FPath + "\\" + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace orvo::winharness
