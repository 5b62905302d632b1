#include <windows.h>

#include "platform/Library.h"

namespace orvo::platform {

TLibraryHandle LoadLibraryA(const char* fileName) noexcept {
  return ::LoadLibraryA(fileName);
}

TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept {
  return reinterpret_cast<TProcAddress>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

bool FreeLibrary(TLibraryHandle library) noexcept {
  return ::FreeLibrary(static_cast<HMODULE>(library)) != 0;
}

std::uint32_t GetLastError() noexcept {
  return ::GetLastError();
}

// The system's own text, WinSock codes included, in the process's ANSI code page.
std::string FormatMessageA(std::uint32_t code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr)
    return {};
  std::string message;
  try {
    message.assign(text, length);
  } catch (...) {
    ::LocalFree(text);
    throw;
  }
  ::LocalFree(text);
  return message;
}

}  // namespace orvo::platform
