#pragma once

#include <cstdint>
#include <span>
#include <string>

// Loading a library at run time and finding its functions by name: the stand-ins for the Windows
// calls LoadLibraryA, GetProcAddress, FreeLibrary, GetLastError and FormatMessageA. On Windows
// they load library files; on POSIX the one library the program loads, the socket library, is
// part of the program itself: a table of its functions by export name.
namespace orvo::platform {

// A function found in a library, to be cast to its own type by the caller.
using TProcAddress = void (*)();

#if defined(_WIN32)
// The system's handle of a loaded library; nullptr when none.
using TLibraryHandle = void*;
#else
// One function of a library built into the program, under its export name.
struct TExport {
  const char* Name;
  TProcAddress Function;
};
// A library built into the program: its functions.
using TExportTable = std::span<const TExport>;
// A loaded library is its table; nullptr when none.
using TLibraryHandle = const TExportTable*;

// The export `name` of `function`, stored as the type F it is called with; F is named, so that
// a function whose type differs only in noexcept is converted to F, not merely relabelled.
template <typename F>
TExport ExportOf(const char* name, F* function) noexcept {
  return {name, reinterpret_cast<TProcAddress>(function)};
}
#endif

// Loads a library by file name; nullptr on failure, with the reason kept as the calling
// thread's last error. Windows searches the system's folders. On POSIX "WS2_32.DLL", in any
// case, is the program's own socket adapter, and no other name is found.
TLibraryHandle LoadLibraryA(const char* fileName) noexcept;

// Finds a function that the library itself exports; nullptr when it exports none of that name,
// with the reason kept as the calling thread's last error.
TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept;

bool FreeLibrary(TLibraryHandle library) noexcept;

// The calling thread's last error code of the calls above; 0 when the last one succeeded.
std::uint32_t GetLastError() noexcept;

// The system's message text for an error code, WinSock codes included; empty when unknown.
std::string FormatMessageA(std::uint32_t code);

}  // namespace orvo::platform
