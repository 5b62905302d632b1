#include <windows.h>

#include "platform/VersionInfo.h"

namespace orvo::platform {

std::uint32_t GetFileVersionInfoSizeA(const char* fileName, std::uint32_t* handle) noexcept {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(fileName, &ignored);
  if (handle != nullptr)
    *handle = ignored;
  return size;
}

bool GetFileVersionInfoA(const char* fileName, std::uint32_t handle, std::uint32_t size,
                         void* data) noexcept {
  return ::GetFileVersionInfoA(fileName, handle, size, data) != 0;
}

// The library knows the block's extent from the block itself.
bool VerQueryValueA(const void* block, std::uint32_t, const char* subBlock, const void** buffer,
                    std::uint32_t* length) noexcept {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr)
    return false;
  void* value = nullptr;
  UINT valueLength = 0;
  if (::VerQueryValueA(block, subBlock, &value, &valueLength) == 0)
    return false;
  *buffer = value;
  *length = valueLength;
  return true;
}

}  // namespace orvo::platform
