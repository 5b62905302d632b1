#include "app/ConsoleIO.h"

#include "base/Exception.h"
#include "platform/Console.h"

namespace orvo::console {

std::string IOErrorText(std::int32_t code) {
  switch (code) {
    case 2:
      return "ファイルが見つかりません";
    case 3:
      return "不正なファイル名です";
    case 4:
      return "オープンしたファイルが多すぎます";
    case 5:
      return "ファイルへのアクセスが拒否されました";
    case 100:
      return "ファイルの末尾以降を読み込みました";
    case 101:
      return "ディスクがいっぱいです";
    case 106:
      return "入力値が数値ではありません";
    default:
      return "I/O エラー (" + std::to_string(code) + ")";
  }
}

void RaiseIOError(std::int32_t code) {
  throw Exception(IOErrorText(code));
}

void WriteLine(TStream stream, std::string_view text) {
  std::string line(text);
  line += "\r\n";
  const std::int32_t error =
      stream == TStream::StdOut ? platform::WriteStdOut(line) : platform::WriteStdErr(line);
  if (error != 0)
    RaiseIOError(error);
}

}  // namespace orvo::console
