#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Console texts and the failures of console I/O.
namespace orvo::console {

// The message of an I/O error code: the texts of codes 2, 3, 4, 5, 100, 101 and 106, and
// "I/O エラー (<code>)" for every other code.
std::string IOErrorText(std::int32_t code);

// Raises the general exception with the text of code.
[[noreturn]] void RaiseIOError(std::int32_t code);

// Write to standard output or standard error; a failure raises the I/O failure.
void Write(std::string_view text);
void WriteError(std::string_view text);

}  // namespace orvo::console
