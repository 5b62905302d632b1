#include "app/MessageFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "base/Exception.h"
#include "platform/File.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvo {

namespace {

[[noreturn]] void RaiseCannotOpen(const std::string& fileName) {
  throw Exception("ファイル " + fileName + " は開けません");
}

bool IsLineEnd(char c) noexcept {
  return c == '\n' || c == '\r';
}

constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7FULL;

// One bit (the high bit of the byte) for every byte of `word` that equals `c`. Exact per byte:
// the sums never carry from one byte into the next.
std::uint64_t BytesEqual(std::uint64_t word, char c) noexcept {
  const std::uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(c));
  return ~(((x & kLowBits) + kLowBits) | x | kLowBits);
}

// The index in memory order of the last byte marked in `found` (not zero).
int LastMarkedByte(std::uint64_t found) noexcept {
  if constexpr (std::endian::native == std::endian::little)
    return (63 - std::countl_zero(found)) / 8;
  else
    return 7 - std::countr_zero(found) / 8;
}

// Where the line that ends at `end` begins: just after the last CR or LF before `end`, or at
// `begin`. Looks at many bytes at a time, since message lines are long and line ends rare.
const char* LineStart(const char* begin, const char* end) noexcept {
  const char* p = end;
#if defined(__SSE2__)
  // Sixteen bytes at a time where the processor compares them at once.
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (p - begin >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
    const auto found = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
    if (found != 0)
      return p - 16 + (31 - std::countl_zero(found)) + 1;
    p -= 16;
  }
#endif
  while (p - begin >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, p - 8, sizeof(word));
    if (const std::uint64_t found = BytesEqual(word, '\n') | BytesEqual(word, '\r')) {
      return p - 8 + LastMarkedByte(found) + 1;
    }
    p -= 8;
  }
  while (p != begin && !IsLineEnd(p[-1]))
    --p;
  return p;
}

}  // namespace

TMessageFile::TMessageFile(const std::string& fileName) {
  if (!platform::ReadWholeFile(fileName, FText))
    RaiseCannotOpen(fileName);
  FText.resize(text::UpToNul(FText).size());
}

namespace text {

std::string_view UpToNul(std::string_view text) noexcept {
  return text.substr(0, text.find('\0'));
}

std::optional<std::string_view> TakeLastLine(std::string_view& rest) noexcept {
  if (rest.empty())
    return std::nullopt;
  std::size_t end = rest.size();
  // The line end that closes the last line; an LF right after a CR is one line end with it.
  if (rest[end - 1] == '\n') {
    --end;
    if (end > 0 && rest[end - 1] == '\r')
      --end;
  } else if (rest[end - 1] == '\r') {
    --end;
  }
  const std::size_t start =
      static_cast<std::size_t>(LineStart(rest.data(), rest.data() + end) - rest.data());
  const std::string_view line = rest.substr(start, end - start);
  rest = rest.substr(0, start);
  return line;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::string_view rest = UpToNul(text);
  std::vector<std::string_view> lines;
  while (const std::optional<std::string_view> line = TakeLastLine(rest))
    lines.push_back(*line);
  std::reverse(lines.begin(), lines.end());
  return lines;
}

}  // namespace text

}  // namespace orvo
