#include <windows.h>

#include "platform/File.h"

namespace orvo::platform {

namespace {

HANDLE HandleOf(std::intptr_t handle) noexcept {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

// Others may read the file while it is open, but not write it.
TFileReader::TFileReader(const std::string& fileName) noexcept {
  const HANDLE file = ::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE)
    FHandle = reinterpret_cast<std::intptr_t>(file);
}

TFileReader::~TFileReader() {
  if (IsOpen())
    ::CloseHandle(HandleOf(FHandle));
}

std::ptrdiff_t TFileReader::Read(char* buffer, std::size_t length) noexcept {
  // One call reads at most what a DWORD counts.
  const DWORD wanted = length > MAXDWORD ? MAXDWORD : static_cast<DWORD>(length);
  DWORD read = 0;
  if (!::ReadFile(HandleOf(FHandle), buffer, wanted, &read, nullptr))
    return -1;
  return static_cast<std::ptrdiff_t>(read);
}

}  // namespace orvo::platform
