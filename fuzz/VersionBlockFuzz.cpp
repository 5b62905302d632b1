// Feeds arbitrary bytes to the version block reader as a block and asks it what the version
// reader asks: the root, the translation list, and the product name and version under the
// first translation, as well as a few paths that walk into values and missing keys. Every value
// it answers with must lie inside the block; the sanitizers see any read outside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/VersionInfo.h"

namespace {

void Require(bool condition) {
  if (!condition)
    std::abort();
}

// Queries path; when the reader finds it, the value must lie inside the block, and all of it is
// read so that the sanitizers check each byte.
bool Query(const std::uint8_t* block, std::uint32_t size, const std::string& path,
           const void** value, std::uint32_t* length) {
  *value = nullptr;
  *length = 0;
  if (!orvo::platform::VerQueryValueA(block, size, path.c_str(), value, length))
    return false;
  const auto* at = static_cast<const std::uint8_t*>(*value);
  Require(at >= block && at <= block + size);
  Require(*length <= static_cast<std::uint32_t>(block + size - at));
  volatile std::uint8_t sum = 0;
  for (std::uint32_t i = 0; i < *length; ++i)
    sum = static_cast<std::uint8_t>(sum + at[i]);
  return true;
}

// The first translation as eight upper-case hexadecimal digits, as the version reader makes
// them; empty when the block has no whole translation entry.
std::string FirstTranslation(const std::uint8_t* block, std::uint32_t size) {
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!Query(block, size, "\\VarFileInfo\\Translation", &value, &length) || length < 4)
    return {};
  std::uint8_t entry[4];
  std::memcpy(entry, value, sizeof entry);
  char digits[9];
  std::snprintf(digits, sizeof digits, "%02X%02X%02X%02X", entry[1], entry[0], entry[3], entry[2]);
  return digits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The version reader hands the reader blocks of at most 65535 bytes.
  if (size > 0xFFFF)
    return 0;
  const auto blockSize = static_cast<std::uint32_t>(size);
  const void* value = nullptr;
  std::uint32_t length = 0;
  Query(data, blockSize, "\\", &value, &length);
  const std::string table = "\\StringFileInfo\\" + FirstTranslation(data, blockSize) + "\\";
  for (const char* key : {"ProductName", "ProductVersion", "", "\\\\", "ProductName\\More"})
    Query(data, blockSize, table + key, &value, &length);
  Query(data, blockSize, "\\VarFileInfo\\Translation\\Deeper", &value, &length);
  Query(data, blockSize, "\\STRINGFILEINFO", &value, &length);
  return 0;
}
