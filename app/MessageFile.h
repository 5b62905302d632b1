#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvo {

// A message file, read whole when the object is made. Its lines are taken from the text in
// place (text::TakeLastLine), last line first, so no list of lines is built beside the text.
class TMessageFile {
 public:
  // Raises "ファイル <fileName> は開けません" when the file can't be opened or read.
  explicit TMessageFile(const std::string& fileName);
  TMessageFile(const TMessageFile&) = delete;
  TMessageFile& operator=(const TMessageFile&) = delete;

  // The file's bytes up to its first NUL, unchanged.
  std::string_view Text() const noexcept { return FText; }

 private:
  // The file's bytes in memory of our own, never a mapping of the file: a file cut short while
  // its lines are sent (a log rotated by copy and truncate) must not take the text away.
  std::string FText;
};

namespace text {

// Takes the last line off the end of `rest` and gives it back without its line end; nullopt
// when `rest` is empty. Lines end at LF, CR or CR LF (one line end each); a last line without a
// line end counts; no empty line follows a final line end.
std::optional<std::string_view> TakeLastLine(std::string_view& rest) noexcept;

}  // namespace text

}  // namespace orvo
