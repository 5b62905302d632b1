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

// The integer reading rule: optional leading blanks (code 32 only), then either an optional
// sign and decimal digits, or one of the prefixes "$", "x", "X", "0x", "0X" and at most eight
// hexadecimal digits (the 32-bit pattern they spell). Nothing may follow. A decimal value
// outside the signed 32-bit range does not read.
std::optional<std::int32_t> TryReadInteger(std::string_view text) noexcept;

// As TryReadInteger, but a text that does not read raises EConvertError
// "'<text>' は整数ではありません".
std::int32_t ReadInteger(std::string_view text);

// Takes the last line off the end of `rest` and gives it back without its line end; nullopt
// when `rest` is empty. Lines end at LF, CR or CR LF (one line end each); a last line without a
// line end counts; no empty line follows a final line end.
std::optional<std::string_view> TakeLastLine(std::string_view& rest) noexcept;

}  // namespace orvo::text
