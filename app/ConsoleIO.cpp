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

void Write(std::string_view text) {
  if (const std::int32_t error = platform::WriteStdOut(text))
    RaiseIOError(error);
}

void WriteError(std::string_view text) {
  if (const std::int32_t error = platform::WriteStdErr(text))
    RaiseIOError(error);
}

}  // namespace orvo::console
