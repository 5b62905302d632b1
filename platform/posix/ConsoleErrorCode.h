#pragma once

#include <cstdint>

namespace orvo::platform {

// The Windows code of the same meaning for a failure a read or write of a standard descriptor
// can meet (a full disk is the text-file layer's own code 101); a failure without a Windows
// counterpart keeps its errno behind bit 29, which marks an application's own codes and which no
// system code has, so that it can't read as another failure.
std::int32_t ConsoleErrorCode(int error) noexcept;

}  // namespace orvo::platform
