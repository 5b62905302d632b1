#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvo {

// The lines of a message file, read whole when the object is made. The lines are views into
// the one text buffer the object holds, so the object is neither copied nor moved.
class TMessageFile {
 public:
  // Raises "ファイル <fileName> は開けません" when the file can't be opened or read.
  explicit TMessageFile(const std::string& fileName);
  TMessageFile(const TMessageFile&) = delete;
  TMessageFile& operator=(const TMessageFile&) = delete;

  // Every line in file order, without line ends.
  const std::vector<std::string_view>& Lines() const noexcept { return FLines; }

 private:
  std::string FText;
  std::vector<std::string_view> FLines;
};

namespace text {

// Splits at LF, CR or CR LF (one line end each). A NUL ends the text; a last line without a
// line end counts; no empty line follows a final line end.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace text

}  // namespace orvo
