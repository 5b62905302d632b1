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

}  // namespace orvo
