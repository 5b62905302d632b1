#include "platform/Library.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cstring>

#include "platform/Process.h"
#include "platform/WinSock.h"

namespace orvo::platform {

namespace {

// Windows' codes for a library that can't be loaded and a name it doesn't export.
constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kProcNotFound = 127;

// dlerror() only speaks about the last failure and only once, so the reason is kept with the
// code until the next call on the same thread.
thread_local std::uint32_t tLastError = 0;
thread_local std::string tLastReason;

void SetLastFailure(std::uint32_t code, const char* fallback) {
  const char* reason = dlerror();
  tLastError = code;
  tLastReason = reason != nullptr ? reason : fallback;
}

void ClearLastError() {
  tLastError = 0;
  tLastReason.clear();
}

// dlsym also finds names in the library's dependencies (the C library has its own "socket"
// and "send"); a function counts only when it lies inside the library asked.
const link_map* LinkMapOf(TLibraryHandle library) {
  link_map* map = nullptr;
  return dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 ? map : nullptr;
}

bool DefinedIn(const link_map* map, void* symbol) {
  Dl_info info{};
  return map != nullptr && dladdr(symbol, &info) != 0 && info.dli_fname == map->l_name;
}

// The running executable's own folder, with its trailing slash, or empty when unknown.
std::string ExecutableFolder() {
  std::string folder = ModuleFileName();
  if (folder.empty())
    return {};
  folder.erase(folder.rfind('/') + 1);
  return folder;
}

// The program's private libraries lie beside the executable in the build tree and in the
// program's own library folder once installed; that folder is named relative to the
// executable's, so an installed tree can be moved or unpacked anywhere. Looking there directly
// spares the program a run path, which the loader would search for every library it needs.
std::string InProgramFolders(const char* fileName) {
  const std::string folder = ExecutableFolder();
  if (folder.empty())
    return {};
  for (const std::string& candidate :
       {folder + fileName, folder + ORVO_PRIVATE_LIBRARY_FOLDER + "/" + fileName}) {
    if (::access(candidate.c_str(), F_OK) == 0)
      return candidate;
  }
  return {};
}

}  // namespace

// A bare file name is looked for first in the program's own folders, as Windows looks in the
// application's folder first, and then through the system's library search.
TLibraryHandle LoadLibraryA(const char* fileName) noexcept {
  std::string found;
  if (std::strchr(fileName, '/') == nullptr) {
    try {
      found = InProgramFolders(fileName);
    } catch (...) {
      found.clear();
    }
  }
  TLibraryHandle library = dlopen(found.empty() ? fileName : found.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    SetLastFailure(kModuleNotFound, "The specified module could not be found.");
  } else {
    ClearLastError();
  }
  return library;
}

TProcAddress GetProcAddress(TLibraryHandle library, const char* name) noexcept {
  dlerror();
  void* symbol = dlsym(library, name);
  if (symbol == nullptr) {
    SetLastFailure(kProcNotFound, "The specified procedure could not be found.");
    return nullptr;
  }
  const link_map* map = LinkMapOf(library);
  if (!DefinedIn(map, symbol)) {
    tLastError = kProcNotFound;
    tLastReason = std::string(map != nullptr ? map->l_name : "") + ": undefined symbol: " + name;
    return nullptr;
  }
  ClearLastError();
  return reinterpret_cast<TProcAddress>(symbol);
}

bool FreeLibrary(TLibraryHandle library) noexcept {
  return dlclose(library) == 0;
}

std::uint32_t GetLastError() noexcept {
  return tLastError;
}

std::string FormatMessageA(std::uint32_t code) {
  if (code != 0 && code == tLastError)
    return tLastReason;
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

const char* SocketLibraryFileName() noexcept {
  return "libws2_32.so";
}

}  // namespace orvo::platform
