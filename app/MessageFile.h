#pragma once

#include <memory>
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
  std::string_view Text() const noexcept { return {FText.get(), FSize}; }

  struct TFree {
    void operator()(char* text) const noexcept;
  };

 private:
  // The file's bytes in memory of our own, never a mapping of the file: a file cut short while
  // its lines are sent (a log rotated by copy and truncate) must not take the text away.
  std::unique_ptr<char, TFree> FText;
  std::size_t FSize = 0;
};

}  // namespace orvo
