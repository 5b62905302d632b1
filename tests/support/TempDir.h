#pragma once

#include <filesystem>
#include <string>

namespace orvo::test {

// A folder of its own under the system's temporary folder, removed with everything in it when
// the object goes.
class TTempDir {
 public:
  TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  ~TTempDir();

  std::string Path() const { return FPath.string(); }
  // The path of name in the folder, whether or not it exists. The name's bytes are kept as
  // they are (a path would convert them on Windows).
  std::string File(const std::string& name) const {
    return Path() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
  }
  // Writes bytes, as they are, to name in the folder; gives its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path FPath;
};

}  // namespace orvo::test
