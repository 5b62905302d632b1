#include "app/MessageFile.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

#include "base/Exception.h"
#include "platform/File.h"

namespace orvo {

namespace {

[[noreturn]] void RaiseCannotOpen(const std::string& fileName) {
  throw Exception("ファイル " + fileName + " は開けません");
}

// The file is read in pieces of this size, each searched for a NUL just after it is read.
constexpr std::size_t kReadPiece = 64 * 1024;

// Room for one more piece after `size` bytes. The room doubles through realloc, which the C
// library can grow by moving pages instead of bytes: the text is neither copied nor laid out
// afresh as it grows, and the size a file tells, which a sparse file overstates, is not needed.
char* RoomForPiece(std::unique_ptr<char, TMessageFile::TFree>& text, std::size_t size,
                   std::size_t& capacity) {
  if (capacity - size >= kReadPiece)
    return text.get() + size;
  if (capacity > std::numeric_limits<std::size_t>::max() / 2)
    throw std::bad_alloc();
  const std::size_t grown = std::max(2 * capacity, kReadPiece);
  char* const moved = static_cast<char*>(std::realloc(text.get(), grown));
  if (moved == nullptr)
    throw std::bad_alloc();
  static_cast<void>(text.release());
  text.reset(moved);
  capacity = grown;
  return moved + size;
}

}  // namespace

void TMessageFile::TFree::operator()(char* text) const noexcept {
  std::free(text);
}

// Nothing after the piece holding the first NUL is read, so the zero device costs one piece.
TMessageFile::TMessageFile(const std::string& fileName) {
  platform::TFileReader file(fileName);
  if (!file.IsOpen())
    RaiseCannotOpen(fileName);
  std::size_t capacity = 0;
  for (;;) {
    char* const piece = RoomForPiece(FText, FSize, capacity);
    const std::ptrdiff_t count = file.Read(piece, kReadPiece);
    if (count < 0)
      RaiseCannotOpen(fileName);
    const std::string_view read(piece, static_cast<std::size_t>(count));
    const std::size_t nul = read.find('\0');
    FSize += std::min(nul, read.size());
    if (count == 0 || nul != std::string_view::npos)
      return;
  }
}

}  // namespace orvo
