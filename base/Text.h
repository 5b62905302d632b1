#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers shared by every layer: trimming, lowering, the integer reading rule and taking
// lines off a text's end.
namespace orvo::text {

// A blank or a control character: code 32 or below. Trimming, splitting a command line and the
// socket library's error texts all stop at these.
bool IsBlankOrControl(char c) noexcept;

// Equal texts when the letters A to Z are taken as a to z; no other character is folded.
bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept;

// Drops every character of code 32 or below at both ends.
std::string_view TrimView(std::string_view text) noexcept;
std::string Trim(std::string_view text);

// Changes the letters A to Z into a to z and nothing else.
std::string Lower(std::string_view text);

// The integer reading rule: leading blanks (code 32 only), then a sign and decimal digits within
// the signed 32-bit range, or "$", "x", "X", "0x" or "0X" and at most eight hex digits (their
// 32-bit pattern); nothing may follow.
std::optional<std::int32_t> TryReadInteger(std::string_view text) noexcept;

// As TryReadInteger, but a text that does not read raises EConvertError
// "'<text>' は整数ではありません".
std::int32_t ReadInteger(std::string_view text);

// Takes the last line, without its line end (LF, CR or CR LF), off the end of `rest`; nullopt
// when `rest` is empty. No empty line follows a final line end.
std::optional<std::string_view> TakeLastLine(std::string_view& rest) noexcept;

}  // namespace orvo::text
