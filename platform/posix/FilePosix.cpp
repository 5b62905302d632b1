#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/File.h"

namespace orvo::platform {

// A 32-bit build asks for 64-bit offsets (_FILE_OFFSET_BITS=64): with 32-bit ones a file above
// 2 GiB does not even open.
static_assert(sizeof(off_t) == 8, "off_t must be 64-bit");

// Opened read-only; POSIX has no mandatory locks, so writers are not refused.
TFileReader::TFileReader(const std::string& fileName) noexcept
    : FHandle(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC)) {}

TFileReader::~TFileReader() {
  if (IsOpen())
    ::close(static_cast<int>(FHandle));
}

std::ptrdiff_t TFileReader::Read(char* buffer, std::size_t length) noexcept {
  for (;;) {
    const ssize_t count = ::read(static_cast<int>(FHandle), buffer, length);
    // A signal that arrives before anything was read is no failure of the file.
    if (count >= 0 || errno != EINTR)
      return count;
  }
}

}  // namespace orvo::platform
