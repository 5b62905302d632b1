#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// Runs the built orvologger.exe as a Windows process, with pipes for its standard handles.
namespace orvo::winharness {

struct TRunResult {
  std::uint32_t Pid = 0;
  int ExitCode = -1;  // -1 when the process did not end by itself in time
  std::string Out;
  std::string Err;
};

// The program file beside this test program.
std::string ProgramPath();

// Runs the program with arguments as the rest of its command line (after the quoted program
// path), standard input fed from input and then closed.
TRunResult RunOrvologger(const std::string& arguments, const std::string& input = {},
                         std::chrono::seconds limit = std::chrono::seconds(60));

// A folder of its own under the temporary folder, removed with the object.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const noexcept { return FPath; }
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string FPath;
};

}  // namespace orvo::winharness
