#include "app/MessageFile.h"

#include "base/Exception.h"
#include "platform/File.h"

namespace orvo {

namespace {

[[noreturn]] void RaiseCannotOpen(const std::string& fileName) {
  throw Exception("ファイル " + fileName + " は開けません");
}

}  // namespace

TMessageFile::TMessageFile(const std::string& fileName) {
  if (!platform::ReadWholeFile(fileName, FText))
    RaiseCannotOpen(fileName);
  FLines = text::SplitLines(FText);
}

namespace text {

std::vector<std::string_view> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

}  // namespace text

}  // namespace orvo
