#include "base/Text.h"

#include "base/Exception.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace orvo::text {

namespace {

std::size_t HexPrefixLength(std::string_view text) noexcept {
  if (text.starts_with("0x") || text.starts_with("0X"))
    return 2;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
    return 1;
  return 0;
}

// Digits that fill the whole text and fit 32 bits; from_chars of an unsigned type takes no sign.
std::optional<std::uint32_t> ReadDigits(std::string_view digits, int base) noexcept {
  std::uint32_t value = 0;
  const char* const end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
  if (error != std::errc() || stop != end)
    return std::nullopt;
  return value;
}

std::optional<std::int32_t> ReadHex(std::string_view digits) noexcept {
  if (digits.size() > 8)
    return std::nullopt;
  const auto value = ReadDigits(digits, 16);
  return value ? std::optional(static_cast<std::int32_t>(*value)) : std::nullopt;
}

std::optional<std::int32_t> ReadDecimal(std::string_view text) noexcept {
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+'))
    text.remove_prefix(1);
  const auto magnitude = ReadDigits(text, 10);
  const std::uint32_t limit = negative ? 2147483648U : 2147483647U;
  if (!magnitude || *magnitude > limit)
    return std::nullopt;
  return static_cast<std::int32_t>(negative ? 0U - *magnitude : *magnitude);
}

bool IsLineEnd(char c) noexcept {
  return c == '\n' || c == '\r';
}

// Nonzero when a byte of the eight at `at` is below 14: a CR or an LF, or another control
// character such as a tab, which the caller then tells apart.
std::uint64_t BytesBelow14(const char* at) noexcept {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return (word - 0x0E0E0E0E0E0E0E0EULL) & ~word & 0x8080808080808080ULL;
}

// Just after the last CR or LF before `end`, or `begin`. Line ends are rare in message lines:
// sixteen bytes are passed at once while none of them can be one.
const char* LineStart(const char* begin, const char* end) noexcept {
  const char* p = end;
  while (p - begin >= 16) {
    if ((BytesBelow14(p - 16) | BytesBelow14(p - 8)) == 0) {
      p -= 16;
      continue;
    }
    for (const char* const passed = p - 16; p != passed; --p) {
      if (IsLineEnd(p[-1]))
        return p;
    }
  }
  while (p != begin && !IsLineEnd(p[-1]))
    --p;
  return p;
}

char LowerLetter(char c) noexcept {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool IsBlankOrControl(char c) noexcept {
  return static_cast<unsigned char>(c) <= 32;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerLetter(x) == LowerLetter(y); });
}

std::string_view TrimView(std::string_view text) noexcept {
  while (!text.empty() && IsBlankOrControl(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::string Lower(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered)
    c = LowerLetter(c);
  return lowered;
}

std::optional<std::int32_t> TryReadInteger(std::string_view text) noexcept {
  while (text.starts_with(' '))
    text.remove_prefix(1);
  if (const std::size_t prefix = HexPrefixLength(text); prefix > 0) {
    return ReadHex(text.substr(prefix));
  }
  return ReadDecimal(text);
}

std::int32_t ReadInteger(std::string_view text) {
  if (const auto value = TryReadInteger(text))
    return *value;
  throw EConvertError("'" + std::string(text) + "' は整数ではありません");
}

std::optional<std::string_view> TakeLastLine(std::string_view& rest) noexcept {
  if (rest.empty())
    return std::nullopt;
  const char* const begin = rest.data();
  const char* end = begin + rest.size();
  // The line end that closes the last line: an LF, a CR, or a CR with the LF after it.
  if (end[-1] == '\n')
    --end;
  if (end != begin && end[-1] == '\r')
    --end;
  const char* const start = LineStart(begin, end);
  rest = std::string_view(begin, static_cast<std::size_t>(start - begin));
  return std::string_view(start, static_cast<std::size_t>(end - start));
}

}  // namespace orvo::text
