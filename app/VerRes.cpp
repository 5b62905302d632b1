#include "app/VerRes.h"

#include <cstdio>
#include <cstring>

#include "platform/VersionInfo.h"

namespace orvo {

namespace {

// The library takes paths of at most this many characters.
constexpr std::size_t kMaxPathLength = 255;

}  // namespace

TVerRes::TVerRes(const std::string& fileName) {
  std::uint32_t handle = 0;
  // Only the low 16 bits of the size count.
  FDataSize = static_cast<std::uint16_t>(
      platform::GetFileVersionInfoSizeA(fileName.c_str(), &handle) & 0xFFFFu);
  if (FDataSize == 0)
    return;
  FHasData = true;
  FData = std::make_unique<std::uint8_t[]>(FDataSize);
  if (!platform::GetFileVersionInfoA(fileName.c_str(), handle, FDataSize, FData.get())) {
    FHasData = false;
    return;
  }
  ReadTranslation();
}

void TVerRes::ReadTranslation() {
  const void* value = nullptr;
  std::uint32_t length = 0;
  // Only a whole first entry counts: language in the low half, code page in the high half.
  if (!platform::VerQueryValueA(FData.get(), FDataSize, "\\VarFileInfo\\Translation", &value,
                                &length) ||
      length < sizeof(std::uint32_t))
    return;
  std::uint8_t entry[4];
  std::memcpy(entry, value, sizeof entry);
  FLanguage = static_cast<std::uint16_t>(entry[0] | (entry[1] << 8));
  FCodePage = static_cast<std::uint16_t>(entry[2] | (entry[3] << 8));
  char digits[9];
  std::snprintf(digits, sizeof digits, "%04X%04X", FLanguage, FCodePage);
  FTranslation = digits;
}

std::string TVerRes::GetProductVersion() const {
  return FHasData ? QueryValue("ProductVersion") : std::string();
}

std::string TVerRes::GetProductName() const {
  return FHasData ? QueryValue("ProductName") : std::string();
}

std::string TVerRes::QueryValue(std::string_view key) const {
  if (!FHasData)
    return {};
  std::string path = "\\StringFileInfo\\" + FTranslation + "\\";
  path += key;
  if (path.size() > kMaxPathLength)
    path.resize(kMaxPathLength);
  const void* value = nullptr;
  std::uint32_t length = 0;
  if (!platform::VerQueryValueA(FData.get(), FDataSize, path.c_str(), &value, &length) ||
      length == 0)
    return {};
  const auto* text = static_cast<const char*>(value);
  // The value ends at its first zero byte, and never later than its stored length.
  const void* zero = std::memchr(text, '\0', length);
  return std::string(text, zero ? static_cast<const char*>(zero) - text : length);
}

std::string ProductNameOf(const std::string& fileName) {
  return TVerRes(fileName).GetProductName();
}

std::string ProductVersionOf(const std::string& fileName) {
  return TVerRes(fileName).GetProductVersion();
}

}  // namespace orvo
