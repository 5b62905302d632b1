#pragma once

#include <cstdint>
#include <span>
#include <string>

// LoadLibraryA, GetProcAddress, FreeLibrary, GetLastError and FormatMessageA. On POSIX the one
// library the program loads, the socket library, is a table of functions inside the program.
namespace orvo::platform {

using TProcAddress = void (*)();

#if defined(_WIN32)
using TLibraryHandle = void*;
#else
struct TExport {
  const char* Name;
  TProcAddress Function;
};
using TExportTable = std::span<const TExport>;
using TLibraryHandle = const TExportTable*;

// F is named, so that a noexcept function is converted to the type it is called with.
template <typename F>
TExport ExportOf(const char* name, F* function) noexcept {
  return {name, reinterpret_cast<TProcAddress>(function)};
}
#endif

// nullptr on failure, with the reason as the thread's last error. On POSIX only "WS2_32.DLL", in
// any case, is found: the program's own socket adapter.
TLibraryHandle LoadLibraryA(const char* fileName) noexcept;

// nullptr, with the reason as the thread's last error, when the library exports no such name.
TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept;

bool FreeLibrary(TLibraryHandle library) noexcept;

std::uint32_t GetLastError() noexcept;

// Empty for a code the system has no text for.
std::string FormatMessageA(std::uint32_t code);

}  // namespace orvo::platform
