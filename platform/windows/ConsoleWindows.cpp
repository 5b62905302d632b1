#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/Console.h"
#include "platform/windows/HandleGuard.h"

// The texts are UTF-8, the process's ANSI code page (manifest); a console takes and gives UTF-16,
// redirected handles the bytes unchanged.
namespace orvo::platform {

namespace {

// The system's codes for the failures the console texts name are Windows' own (2, 3, 4, 5);
// only a full disk has a code of the text layer.
std::int32_t IOErrorCode(DWORD error) noexcept {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return 101;
    default:
      return static_cast<std::int32_t>(error);
  }
}

bool IsConsole(HANDLE handle) noexcept {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetConsoleMode(handle, &mode) != 0;
}

// A text that is not UTF-8 came from elsewhere (a file, a program without the manifest) and is
// shown as text of the system's ANSI code page.
std::wstring WideOf(std::string_view text) {
  if (text.empty())
    return {};
  const int size = static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF));
  for (const UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
    const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0)
      continue;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
  }
  return {};
}

std::int32_t WriteToConsole(HANDLE console, std::string_view text) noexcept {
  try {
    const std::wstring wide = WideOf(text);
    std::size_t at = 0;
    while (at < wide.size()) {
      // Consoles take limited pieces; a piece never ends between the halves of a surrogate pair.
      std::size_t count = std::min<std::size_t>(wide.size() - at, 8192);
      if (at + count < wide.size() && IS_HIGH_SURROGATE(wide[at + count - 1]))
        --count;
      DWORD written = 0;
      if (!::WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(count), &written, nullptr))
        return IOErrorCode(::GetLastError());
      if (written == 0)
        return IOErrorCode(ERROR_WRITE_FAULT);
      at += written;
    }
    return 0;
  } catch (...) {
    return IOErrorCode(ERROR_NOT_ENOUGH_MEMORY);
  }
}

std::int32_t WriteToFile(HANDLE file, std::string_view text) noexcept {
  while (!text.empty()) {
    DWORD written = 0;
    const auto count = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 20));
    if (!::WriteFile(file, text.data(), count, &written, nullptr))
      return IOErrorCode(::GetLastError());
    text.remove_prefix(written);
  }
  return 0;
}

std::int32_t WriteTo(HANDLE handle, std::string_view text) noexcept {
  return IsConsole(handle) ? WriteToConsole(handle, text) : WriteToFile(handle, text);
}

// What a console read gave beyond the caller's buffer, and a first half of a surrogate pair
// whose second half is still to come.
struct TConsoleInput {
  std::string Pending;
  wchar_t HighSurrogate = 0;
};

TConsoleInput& ConsoleInput() {
  static TConsoleInput input;
  return input;
}

std::string Utf8Of(const wchar_t* text, int length) {
  if (length <= 0)
    return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

TConsoleRead ReadFromConsole(HANDLE console, char* buffer, std::size_t size) noexcept {
  try {
    TConsoleInput& input = ConsoleInput();
    while (input.Pending.empty()) {
      wchar_t wide[1025];
      std::size_t count = 0;
      if (input.HighSurrogate != 0) {
        wide[count++] = input.HighSurrogate;
        input.HighSurrogate = 0;
      }
      DWORD read = 0;
      if (!::ReadConsoleW(console, wide + count, 1024, &read, nullptr))
        return {0, IOErrorCode(::GetLastError())};
      if (read == 0 && count == 0)
        return {0, 0};
      count += read;
      if (read != 0 && IS_HIGH_SURROGATE(wide[count - 1]))
        input.HighSurrogate = wide[--count];
      input.Pending = Utf8Of(wide, static_cast<int>(count));
    }
    const std::size_t count = std::min(size, input.Pending.size());
    input.Pending.copy(buffer, count);
    input.Pending.erase(0, count);
    return {count, 0};
  } catch (...) {
    return {0, IOErrorCode(ERROR_NOT_ENOUGH_MEMORY)};
  }
}

}  // namespace

TConsoleRead ReadStdIn(char* buffer, std::size_t size) noexcept {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(input))
    return ReadFromConsole(input, buffer, size);
  DWORD read = 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
  if (::ReadFile(input, buffer, count, &read, nullptr))
    return {read, 0};
  const DWORD error = ::GetLastError();
  // A pipe whose writer has gone is the end of the input.
  if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
    return {0, 0};
  return {0, IOErrorCode(error)};
}

std::int32_t WriteStdOut(std::string_view text) noexcept {
  return WriteTo(::GetStdHandle(STD_OUTPUT_HANDLE), text);
}

// Without a console to open (a service, a detached process) the line still goes to standard error.
std::int32_t WriteStdErr(std::string_view text) noexcept {
  const THandleGuard device(::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
  return WriteTo(::GetStdHandle(STD_ERROR_HANDLE), text);
}

bool LineFeedEndsInputLine() noexcept {
  return false;
}

}  // namespace orvo::platform
