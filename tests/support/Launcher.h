#pragma once

#include <chrono>
#include <string>
#include <vector>

// Runs a program as a child process with pipes for its standard input, output and error.
namespace orvo::test {

struct TRunResult {
  int Pid = 0;
  int ExitCode = -1;  // -1 when the process did not end by itself in time
  std::string Out;
  std::string Err;
};

// Runs program with the parameters, standard input fed from input and then closed, and waits
// for it to end; one that outlives limit is killed. On Windows each parameter is quoted on the
// command line when it holds blanks or is empty.
TRunResult RunProcess(const std::string& program, const std::vector<std::string>& parameters,
                      const std::string& input = {},
                      std::chrono::seconds limit = std::chrono::seconds(60));

#ifdef _WIN32
// As RunProcess, with commandLine as the whole command line after the quoted program path,
// so that a test decides every character the program's own splitting sees.
TRunResult RunProcessWithCommandLine(const std::string& program, const std::string& commandLine,
                                     const std::string& input = {},
                                     std::chrono::seconds limit = std::chrono::seconds(60));
#else
// As RunProcess, with the "NAME=value" settings added to the program's environment.
TRunResult RunProcessWithEnvironment(const std::string& program,
                                     const std::vector<std::string>& parameters,
                                     const std::vector<std::string>& environment,
                                     const std::string& input = {},
                                     std::chrono::seconds limit = std::chrono::seconds(60));

// As a person at a terminal: the program runs under a pseudo-terminal; each keystroke string
// is typed once the output so far contains the text waited for.
struct TKeystrokes {
  std::string WaitFor;
  std::string Type;
};
TRunResult RunOnTerminal(const std::string& program, const std::vector<std::string>& parameters,
                         const std::vector<TKeystrokes>& typing,
                         std::chrono::seconds limit = std::chrono::seconds(60));
#endif

}  // namespace orvo::test
