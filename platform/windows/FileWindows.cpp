#include <windows.h>

#include "platform/File.h"
#include "platform/windows/HandleGuard.h"

namespace orvo::platform {

bool ReadWholeFile(const std::string& fileName, std::string& text) {
  // Others may read the file while it is read, but not write it.
  const HANDLE file = ::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  const THandleGuard guard(file);
  LARGE_INTEGER size{};
  if (::GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) < text.max_size())
    text.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &read, nullptr))
      return false;
    if (read == 0)
      return true;
    text.append(chunk, read);
  }
}

}  // namespace orvo::platform
