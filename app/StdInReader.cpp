#include "app/StdInReader.h"

#include "app/ConsoleIO.h"

namespace orvo {

namespace {

constexpr char kCtrlZ = 26;
constexpr std::size_t kReadSize = 4096;

}  // namespace

TStdInReader::TStdInReader() : TStdInReader(&platform::ReadStdIn) {}

TStdInReader::TStdInReader(TSource source, bool lineFeedEndsLine)
    : FSource(std::move(source)), FLineFeedEndsLine(lineFeedEndsLine) {}

bool TStdInReader::FillBuffer() {
  FBuffer.resize(kReadSize);
  const platform::TConsoleRead read = FSource(FBuffer.data(), FBuffer.size());
  if (read.Error != 0)
    console::RaiseIOError(read.Error);
  FBuffer.resize(read.Count);
  FNext = 0;
  return read.Count > 0;
}

std::string TStdInReader::ReadLine() {
  std::string line;
  while (!FEnded) {
    if (FNext == FBuffer.size() && !FillBuffer()) {
      FEnded = true;
      break;
    }
    const char c = FBuffer[FNext++];
    const bool skip = FSkipLF && c == '\n';
    FSkipLF = false;
    if (skip)
      continue;
    if (c == kCtrlZ) {
      FEnded = true;
    } else if (c == '\r' || (c == '\n' && FLineFeedEndsLine)) {
      FSkipLF = c == '\r';
      return line;
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace orvo
