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
  // A file of known size is read in one piece straight into the text; what a growing file
  // adds, and a file whose size is not known in advance, are read in blocks after it.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(fileName, error);
  if (!error && size > 0 && size < text.max_size() - text.size()) {
    const std::size_t start = text.size();
    text.resize(start + static_cast<std::size_t>(size));
    file.read(text.data() + start, static_cast<std::streamsize>(size));
    text.resize(start + static_cast<std::size_t>(file.gcount()));
  }
  std::vector<char> chunk(64 * 1024);
  while (file.read(chunk.data(), static_cast<std::streamsize>(chunk.size())), file.gcount() > 0)
    text.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
  // A directory opens but does not read: that too is a file that can't be read.
  return !file.bad();
}

}  // namespace orvo::platform
