#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/File.h"

namespace orvo::platform {

// The file is opened read-only; POSIX has no mandatory locks, so writers are not refused.
bool ReadWholeFile(const std::string& fileName, std::string& text) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file)
    return false;
  std::error_code error;
  if (std::filesystem::is_regular_file(fileName, error)) {
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (!error && size < text.max_size())
      text.reserve(static_cast<std::size_t>(size));
  }
  std::vector<char> chunk(64 * 1024);
  while (file.read(chunk.data(), static_cast<std::streamsize>(chunk.size())), file.gcount() > 0)
    text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
  // A directory opens but does not read: that too is a file that can't be read.
  return !file.bad();
}

}  // namespace orvo::platform
