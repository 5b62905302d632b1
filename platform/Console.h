#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The console: standard input read in blocks, standard output and standard error written
// unbuffered. Failures come back as I/O error codes, the Windows codes: 2 file not found, 3 bad
// file name, 4 too many open files, 5 access denied, 101 disk full, any other failure the Windows
// code of the same meaning, or one with bit 29 set (an application's own) where there is none.
namespace orvo::platform {

struct TConsoleRead {
  std::size_t Count;   // bytes placed in the buffer; 0 with Error 0 at the end of the input
  std::int32_t Error;  // 0, or the I/O error code of a failed read
};

TConsoleRead ReadStdIn(char* buffer, std::size_t size) noexcept;

// Each writes the whole text before it returns; the result is 0 or the I/O error code.
std::int32_t WriteStdOut(std::string_view text) noexcept;
std::int32_t WriteStdErr(std::string_view text) noexcept;

// Whether LF alone ends a line of standard input (POSIX); on Windows only CR does.
bool LineFeedEndsInputLine() noexcept;

}  // namespace orvo::platform
