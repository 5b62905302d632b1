#include "app/MessageFile.h"

#include <filesystem>
#include <fstream>

#include "base/Exception.h"

namespace orvo {

namespace {

[[noreturn]] void RaiseCannotOpen(const std::string& fileName) {
  throw Exception("ファイル " + fileName + " は開けません");
}

}  // namespace

TMessageFile::TMessageFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file)
    RaiseCannotOpen(fileName);
  std::error_code error;
  if (std::filesystem::is_regular_file(fileName, error)) {
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (!error && size < FText.max_size())
      FText.reserve(static_cast<std::size_t>(size));
  }
  std::vector<char> chunk(64 * 1024);
  while (file.read(chunk.data(), static_cast<std::streamsize>(chunk.size())), file.gcount() > 0)
    FText.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
  // A directory opens but does not read: that too is a file that can't be opened.
  if (file.bad())
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
