#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo::platform {

// A file opened for reading, closed when the reader goes. While it is open others may read the
// file but not write it, where the system can refuse writers.
class TFileReader {
 public:
  explicit TFileReader(const std::string& fileName) noexcept;
  TFileReader(const TFileReader&) = delete;
  TFileReader& operator=(const TFileReader&) = delete;
  ~TFileReader();

  // False when the file could not be opened.
  bool IsOpen() const noexcept { return FHandle != kNoHandle; }
  // Reads at most `length` bytes into `buffer`: the count read, 0 at the end of the file, or -1
  // when the file can't be read (a directory opens, but does not read).
  std::ptrdiff_t Read(char* buffer, std::size_t length) noexcept;

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  // The system's handle of the open file (a descriptor or a Windows handle), or kNoHandle.
  std::intptr_t FHandle = kNoHandle;
};

}  // namespace orvo::platform
