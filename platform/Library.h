#pragma once

#include <cstdint>
#include <string>

// Loading a shared library at run time and finding its functions by name: the stand-ins for the
// Windows calls LoadLibraryA, GetProcAddress, FreeLibrary, GetLastError and FormatMessageA.
namespace orvo::platform {

// An opaque handle of a loaded library; nullptr when none.
using TLibraryHandle = void*;
// A function found in a library, to be cast to its own type by the caller.
using TProcAddress = void (*)();

// Loads a library by file name through the system's library search; nullptr on failure, with
// the reason kept as the calling thread's last error.
TLibraryHandle LoadLibraryA(const char* fileName) noexcept;

// Finds a function that the library itself exports (not one of its dependencies); nullptr when
// it exports none of that name, with the reason kept as the calling thread's last error.
TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept;

bool FreeLibrary(TLibraryHandle library) noexcept;

// The calling thread's last error code of the calls above; 0 when the last one succeeded.
std::uint32_t GetLastError() noexcept;

// The system's message text for an error code: for the last failed load or look-up on this
// thread the platform's own reason, for WinSock codes their system texts; empty when unknown.
std::string FormatMessageA(std::uint32_t code);

// The file name of the socket adapter that stands in for WS2_32.DLL.
const char* SocketLibraryFileName() noexcept;

}  // namespace orvo::platform
