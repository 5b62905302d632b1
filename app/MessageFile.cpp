#include "app/MessageFile.h"

#include <array>

#include "base/Exception.h"
#include "platform/File.h"

namespace orvo {

namespace {

[[noreturn]] void RaiseCannotOpen(const std::string& fileName) {
  throw Exception("ファイル " + fileName + " は開けません");
}

// The file is read in pieces of this size, each searched for a NUL while it is still in the
// processor's cache.
constexpr std::size_t kReadPiece = 64 * 1024;

// The told size is trusted once a quarter of it is read: a sparse file never asks for room it
// will not use, and a true size costs one move of the text.
void MakeRoom(std::string& text, std::size_t adding, std::uint64_t told) {
  const std::size_t needed = text.size() + adding;
  if (needed > text.capacity() && told >= needed && told / 4 <= text.size() &&
      told < text.max_size()) {
    text.reserve(static_cast<std::size_t>(told));
  }
}

}  // namespace

// Nothing after the piece holding the first NUL is read, so the zero device costs one piece.
TMessageFile::TMessageFile(const std::string& fileName) {
  platform::TFileReader file(fileName);
  if (!file.IsOpen())
    RaiseCannotOpen(fileName);
  const std::uint64_t told = file.SizeHint();
  std::array<char, kReadPiece> piece;
  for (;;) {
    const std::ptrdiff_t count = file.Read(piece.data(), piece.size());
    if (count < 0)
      RaiseCannotOpen(fileName);
    const std::string_view read(piece.data(), static_cast<std::size_t>(count));
    const std::size_t nul = read.find('\0');
    const std::string_view text = read.substr(0, nul);
    MakeRoom(FText, text.size(), told);
    FText.append(text);
    if (count == 0 || nul != std::string_view::npos)
      return;
  }
}

}  // namespace orvo
