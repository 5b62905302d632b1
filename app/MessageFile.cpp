#include "app/MessageFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

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
// processor's cache. Reading stops at the piece that holds the first NUL.
constexpr std::size_t kReadPiece = std::size_t{1} << 20;
// Room beyond a told size, where the read meets the file's end (or what a growing file adds).
constexpr std::size_t kRoomAfterToldSize = 4096;
// The first block for a file whose size is not told; it doubles as the bytes come.
constexpr std::size_t kFirstBlockOfUnknownSize = 64 * 1024;

// The block for the whole file: its told size and some room, or the first block of a file of
// unknown size.
std::size_t WholeFileBlockSize(std::uint64_t toldSize) {
  if (toldSize == 0 || toldSize > std::numeric_limits<std::size_t>::max() - kRoomAfterToldSize)
    return kFirstBlockOfUnknownSize;
  return static_cast<std::size_t>(toldSize) + kRoomAfterToldSize;
}

// The block after a full one of `size` bytes: twice as large, and at least the whole file's.
std::size_t GrownBlockSize(std::size_t size, std::size_t wholeFile) {
  if (size > std::numeric_limits<std::size_t>::max() / 2)
    throw std::bad_alloc();
  return std::max(2 * size, wholeFile);
}

// A block of `capacity` bytes holding the `size` bytes of the full one.
std::unique_ptr<char[]> Moved(std::unique_ptr<char[]> full, std::size_t size,
                              std::size_t capacity) {
  auto larger = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(larger.get(), full.get(), size);
  return larger;
}

}  // namespace

// Reads the file up to its first NUL, which ends the text, into storage that is not zero-filled
// first; nothing after the piece holding the NUL is read, so an endless file of NULs (the zero
// device) or a NUL before gigabytes costs one piece. The first block holds one piece, so a
// file whose text ends early never gets the block its told size asks for.
TMessageFile::TMessageFile(const std::string& fileName) {
  platform::TFileReader file(fileName);
  if (!file.IsOpen())
    RaiseCannotOpen(fileName);
  const std::size_t wholeFile = WholeFileBlockSize(file.SizeHint());
  std::size_t capacity = std::min(wholeFile, kReadPiece);
  FBytes = std::make_unique_for_overwrite<char[]>(capacity);
  std::size_t size = 0;
  for (;;) {
    if (size == capacity) {
      capacity = GrownBlockSize(capacity, wholeFile);
      FBytes = Moved(std::move(FBytes), size, capacity);
    }
    char* const piece = FBytes.get() + size;
    const std::ptrdiff_t count = file.Read(piece, std::min(kReadPiece, capacity - size));
    if (count < 0)
      RaiseCannotOpen(fileName);
    if (count == 0)
      break;
    if (const void* nul = std::memchr(piece, '\0', static_cast<std::size_t>(count))) {
      FTextLength = static_cast<std::size_t>(static_cast<const char*>(nul) - FBytes.get());
      return;
    }
    size += static_cast<std::size_t>(count);
  }
  FTextLength = size;
}

namespace text {

std::string_view UpToNul(std::string_view text) noexcept {
  return text.substr(0, text.find('\0'));
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
