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

// Where a console line goes.
enum class TStream { StdOut, StdErr };

// Writes text and CR LF as one line, handed to the console at once so that no other output comes
// between them; a failure raises the I/O failure.
void WriteLine(TStream stream, std::string_view text);

}  // namespace orvo::console
