#include <algorithm>
#include <cstring>
#include <span>

#include "platform/Process.h"
#include "platform/VersionInfo.h"

namespace orvo::platform {

namespace {

// The program's own file has the block the build linked in, as its version resource on Windows;
// no other file has version data.
std::span<const std::uint8_t> BlockOf(const char* fileName) {
  if (fileName == nullptr || *fileName == '\0' || ModuleFileName() != fileName)
    return {};
  return ProgramVersionBlock();
}

}  // namespace

std::uint32_t GetFileVersionInfoSizeA(const char* fileName, std::uint32_t* handle) noexcept {
  if (handle != nullptr)
    *handle = 0;
  try {
    return static_cast<std::uint32_t>(BlockOf(fileName).size());
  } catch (...) {
    return 0;
  }
}

bool GetFileVersionInfoA(const char* fileName, std::uint32_t, std::uint32_t size,
                         void* data) noexcept {
  try {
    const std::span<const std::uint8_t> block = BlockOf(fileName);
    if (data == nullptr || block.empty())
      return false;
    std::memcpy(data, block.data(), std::min<std::size_t>(size, block.size()));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace orvo::platform
