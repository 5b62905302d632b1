#pragma once

#include <functional>
#include <string>

#include "platform/Console.h"

namespace orvo {

// Reads standard input line by line: a line ends at CR, CR LF, or LF alone where lineFeedEndsLine.
// Ctrl+Z (code 26) or the end of the input gives the line so far and then only empty lines; a
// read failure raises the I/O failure.
class TStdInReader {
 public:
  using TSource = std::function<platform::TConsoleRead(char* buffer, std::size_t size)>;

  TStdInReader();
  explicit TStdInReader(TSource source, bool lineFeedEndsLine = platform::LineFeedEndsInputLine());

  std::string ReadLine();

 private:
  bool FillBuffer();

  TSource FSource;
  bool FLineFeedEndsLine;
  std::string FBuffer;
  std::size_t FNext = 0;
  bool FEnded = false;
  // A CR ended the last line: an LF that comes next belongs to that line end. It is skipped
  // when it arrives, so that a CR typed alone never waits for more input.
  bool FSkipLF = false;
};

}  // namespace orvo
