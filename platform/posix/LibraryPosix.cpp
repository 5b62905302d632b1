#include <strings.h>
#include <cstring>

#include "platform/Library.h"
#include "platform/WinSock.h"
#include "platform/posix/ws2/Adapter.h"

namespace orvo::platform {

namespace {

// Windows' codes for a library that can't be found and a name it doesn't export.
constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kProcNotFound = 127;

thread_local std::uint32_t tLastError = 0;

}  // namespace

TLibraryHandle LoadLibraryA(const char* fileName) noexcept {
  // Windows compares library names without regard to case.
  if (::strcasecmp(fileName, "WS2_32.DLL") != 0) {
    tLastError = kModuleNotFound;
    return nullptr;
  }
  tLastError = 0;
  return &ws2posix::AdapterExports();
}

TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept {
  for (const TExport& entry : *library) {
    if (std::strcmp(entry.Name, name) == 0) {
      tLastError = 0;
      return entry.Function;
    }
  }
  tLastError = kProcNotFound;
  return nullptr;
}

// The program's own libraries stay where they are.
bool FreeLibrary(TLibraryHandle) noexcept {
  return true;
}

std::uint32_t GetLastError() noexcept {
  return tLastError;
}

std::string FormatMessageA(std::uint32_t code) {
  switch (code) {
    case kModuleNotFound:
      return "The specified module could not be found.\r\n";
    case kProcNotFound:
      return "The specified procedure could not be found.\r\n";
    case ws2::WS_WSANOTINITIALISED:
      return "Either the application has not called WSAStartup, or WSAStartup failed.\r\n";
    default:
      return {};
  }
}

}  // namespace orvo::platform
