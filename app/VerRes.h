#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvo {

// The version data of one file, read when the reader is made. Every query answers an empty
// text when the file has no usable version data; nothing here raises.
class TVerRes {
 public:
  explicit TVerRes(const std::string& fileName);
  TVerRes(const TVerRes&) = delete;
  TVerRes& operator=(const TVerRes&) = delete;

  std::string GetProductVersion() const;
  std::string GetProductName() const;
  // The value of key in the first translation's string table, up to its first zero byte.
  std::string QueryValue(std::string_view key) const;

  bool HasData() const noexcept { return FHasData; }
  std::uint16_t DataSize() const noexcept { return FDataSize; }
  std::uint16_t Language() const noexcept { return FLanguage; }
  std::uint16_t CodePage() const noexcept { return FCodePage; }
  const std::string& Translation() const noexcept { return FTranslation; }

 private:
  void ReadTranslation();

  bool FHasData = false;
  std::unique_ptr<std::uint8_t[]> FData;
  std::uint16_t FDataSize = 0;
  std::uint16_t FLanguage = 0;
  std::uint16_t FCodePage = 0;
  std::string FTranslation;
};

std::string ProductNameOf(const std::string& fileName);
std::string ProductVersionOf(const std::string& fileName);

}  // namespace orvo
