#pragma once

#include <cstdint>
#include <span>

// Version data of a program file: a version block in the ANSI VS_VERSIONINFO layout (nodes of a
// 16-bit length, a 16-bit value length and an 8-bit key, each part aligned to 4 bytes).
namespace orvo::platform {

#if !defined(_WIN32)
// The program's own block, defined by the source the build writes for the program.
std::span<const std::uint8_t> ProgramVersionBlock() noexcept;
#endif

// The size in bytes of the file's version block; 0 when the file has none or can't be read. On
// POSIX only the program's own file name (as ModuleFileName gives it) has one. The handle output
// is always 0.
std::uint32_t GetFileVersionInfoSizeA(const char* fileName, std::uint32_t* handle) noexcept;

// Copies the version block into data, no more than size bytes. The handle is ignored.
bool GetFileVersionInfoA(const char* fileName, std::uint32_t handle, std::uint32_t size,
                         void* data) noexcept;

// Looks up a path of keys ("\\", "\\StringFileInfo\\<translation>\\<key>"; ASCII case
// ignored) in the block; buffer then points at the value inside it. Nothing outside is read.
bool VerQueryValueA(const void* block, std::uint32_t blockSize, const char* subBlock,
                    const void** buffer, std::uint32_t* length) noexcept;

}  // namespace orvo::platform
