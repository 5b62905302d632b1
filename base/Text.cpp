#include "base/Text.h"

#include "base/Exception.h"

#include <algorithm>

namespace orvo::text {

namespace {

int HexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::size_t HexPrefixLength(std::string_view text) noexcept {
  if (text.starts_with("0x") || text.starts_with("0X"))
    return 2;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
    return 1;
  return 0;
}

std::optional<std::int32_t> ReadHex(std::string_view digits) noexcept {
  if (digits.empty() || digits.size() > 8)
    return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0)
      return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ReadDecimal(std::string_view text) noexcept {
  bool negative = false;
  if (text.starts_with('+') || text.starts_with('-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty())
    return std::nullopt;
  // The magnitude is bounded by 2^31 before every step, so it never overflows 64 bits.
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit)
      return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
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

}  // namespace orvo::text
