#include "app/MessageFile.h"

#include <array>
#include <bit>
#include <cstdint>

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

#if defined(__SSE2__)

// One bit per byte, in memory order, for every CR and LF of the sixteen bytes at `at`.
std::uint32_t LineEndsIn16(const char* at, __m128i lf, __m128i cr) noexcept {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  return static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr))));
}

#endif

// Where the line that ends at `end` begins: just after the last CR or LF before `end`, or at
// `begin`. Message lines are long and line ends rare, so where the processor compares many bytes
// at once, thirty-two are compared per step with one test for all of them. The bytes before the
// text's first whole block, or all bytes where there is no such compare, are looked at one by one.
const char* LineStart(const char* begin, const char* end) noexcept {
  const char* p = end;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  while (p - begin >= 32) {
    const std::uint32_t found = LineEndsIn16(p - 32, lf, cr) | LineEndsIn16(p - 16, lf, cr) << 16;
    if (found != 0)
      return p - 32 + (32 - std::countl_zero(found));
    p -= 32;
  }
#endif
  while (p != begin && !IsLineEnd(p[-1]))
    --p;
  return p;
}

// The file is read in pieces of this size, each searched for a NUL while it is still in the
// processor's cache.
constexpr std::size_t kReadPiece = 64 * 1024;

}  // namespace

// Reads the file up to its first NUL, which ends the text; nothing after the piece holding the
// NUL is read, so an endless file of NULs (the zero device) or a NUL before gigabytes costs one
// piece. Once a piece holds no NUL, the text takes room for the size the file tells, so it is not
// moved as it grows; a file whose text ends in its first piece never asks for that room.
TMessageFile::TMessageFile(const std::string& fileName) {
  platform::TFileReader file(fileName);
  if (!file.IsOpen())
    RaiseCannotOpen(fileName);
  std::array<char, kReadPiece> piece;
  for (;;) {
    const std::ptrdiff_t count = file.Read(piece.data(), piece.size());
    if (count < 0)
      RaiseCannotOpen(fileName);
    const std::string_view read(piece.data(), static_cast<std::size_t>(count));
    const std::size_t nul = read.find('\0');
    if (nul == std::string_view::npos && FText.empty() && file.SizeHint() < FText.max_size())
      FText.reserve(static_cast<std::size_t>(file.SizeHint()));
    FText.append(read.substr(0, nul));
    if (count == 0 || nul != std::string_view::npos)
      return;
  }
}

namespace text {

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

}  // namespace text

}  // namespace orvo
