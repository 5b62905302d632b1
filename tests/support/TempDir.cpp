#include "TempDir.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace orvo::test {

TTempDir::TTempDir() {
  std::random_device seed;
  std::mt19937_64 names(seed());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  // A name another test process took already is passed over; a few tries always suffice.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / ("orvo-test-" + std::to_string(names()));
    if (std::filesystem::create_directory(candidate)) {
      FPath = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder under " + base.string());
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
  const std::string path = File(name);
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  if (!file.flush())
    throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace orvo::test
