#include "net/IdWinSock2.h"

#include <utility>

#include "base/Text.h"

namespace orvo {

namespace {

// The system's texts end in a line break and often a full stop, which the message would repeat.
std::string WithoutTrailingStops(std::string text) {
  while (!text.empty() && (text::IsBlankOrControl(text.back()) || text.back() == '.'))
    text.pop_back();
  return text;
}

std::string MessageOf(const std::string& heading, std::int32_t code, const std::string& text) {
  return code == 0 ? heading : heading + ": " + text;
}

}  // namespace

EIdWS2StubError::EIdWS2StubError(std::string heading, std::int32_t systemCode)
    : EIdWS2StubError(std::move(heading), systemCode,
                      systemCode == 0 ? std::string()
                                      : WithoutTrailingStops(platform::FormatMessageA(
                                            static_cast<std::uint32_t>(systemCode)))) {}

EIdWS2StubError::EIdWS2StubError(std::string heading, std::int32_t systemCode,
                                 std::string systemText)
    : EIdException(MessageOf(heading, systemCode, systemText)),
      FSystemCode(systemCode),
      FSystemText(std::move(systemText)),
      FHeading(std::move(heading)) {}

}  // namespace orvo

namespace orvo::ws2 {

namespace {

constexpr const char* kLoadHeading = "Error on loading Winsock2 library (WS2_32.DLL)";

struct TRowDefinition {
  const char* ExportName;
  void (*Reset)() noexcept;
};

#define ORVO_WS2_ROW_DEFINITION(name, exportName, type) \
  TRowDefinition{exportName, &binding::TRowCall<Row_##name, type>::Reset},
constexpr TRowDefinition kRows[BindingRowCount] = {ORVO_WS2_BINDING_ROWS(ORVO_WS2_ROW_DEFINITION)};
#undef ORVO_WS2_ROW_DEFINITION

// Exchanged for none in one step at unload, so the library is released once.
std::atomic<platform::TLibraryHandle> gLibraryHandle{nullptr};
// Set by the start-up call, which the process-wide stack makes under StackLock.
TWSAStartup* gStartupEntry = nullptr;

platform::TLibraryHandle LoadSystemLibrary() noexcept {
  return platform::LoadLibraryA("WS2_32.DLL");
}

TLibraryLoader* gLoader = &LoadSystemLibrary;

std::string CallHeading(const char* exportName) {
  return std::string("Error on call Winsock2 library function '") + exportName + "'";
}

void LoadLibrary() {
  const platform::TLibraryHandle library = gLoader();
  if (library == nullptr) {
    throw EIdWS2StubError(kLoadHeading, static_cast<std::int32_t>(platform::GetLastError()));
  }
  const platform::TProcAddress startup = platform::GetProcAddress(library, "WSAStartup");
  if (startup == nullptr) {
    const auto code = static_cast<std::int32_t>(platform::GetLastError());
    EIdWS2StubError failure(CallHeading("WSAStartup"), code);
    platform::FreeLibrary(library);
    throw failure;
  }
  gStartupEntry = reinterpret_cast<TWSAStartup*>(startup);
  gLibraryHandle.store(library);
}

// The library file is released when the process ends, after the main program has finished.
struct TUnloadAtExit {
  ~TUnloadAtExit() { UnloadLibrary(); }
} gUnloadAtExit;

}  // namespace

namespace binding {

platform::TProcAddress Resolve(TBindingRow row) {
  const platform::TLibraryHandle library = gLibraryHandle.load();
  const char* name = kRows[row].ExportName;
  if (library == nullptr)
    throw EIdWS2StubError(CallHeading(name), WS_WSANOTINITIALISED);
  const platform::TProcAddress function = platform::GetProcAddress(library, name);
  if (function == nullptr) {
    throw EIdWS2StubError(CallHeading(name), static_cast<std::int32_t>(platform::GetLastError()));
  }
  return function;
}

}  // namespace binding

std::int32_t WSAStartup(std::uint16_t version, TWSAData* data) {
  if (gLibraryHandle.load() == nullptr)
    LoadLibrary();
  return gStartupEntry(version, data);
}

void UnloadLibrary() noexcept {
  const platform::TLibraryHandle library = gLibraryHandle.exchange(nullptr);
  if (library == nullptr)
    return;
  // The slots go back to their stubs before the library's code goes away.
  ResetBindingTable();
  platform::FreeLibrary(library);
}

void ResetBindingTable() noexcept {
  for (const TRowDefinition& row : kRows)
    row.Reset();
}

platform::TLibraryHandle LibraryHandle() noexcept {
  return gLibraryHandle.load();
}

TWSAStartup* StartupEntry() noexcept {
  return gStartupEntry;
}

void SetLibraryLoader(TLibraryLoader* loader) noexcept {
  gLoader = loader != nullptr ? loader : &LoadSystemLibrary;
}

}  // namespace orvo::ws2
