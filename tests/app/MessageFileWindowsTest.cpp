#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/MessageFile.h"
#include "base/Exception.h"
#include "tests/support/Raised.h"
#include "tests/support/TempDir.h"

// The message file on Windows: opened so that others may read it but not write it, and named
// in the process's ANSI code page, UTF-8.
namespace orvo {
namespace {

using Lines = std::vector<std::string_view>;

class MessageFileSharingTest : public ::testing::Test {
 protected:
  void SetUp() override { FDir.Write("messages.txt", "first\r\nsecond\r\n"); }

  // Another opening of the file, with its own access and sharing.
  HANDLE OpenElsewhere(DWORD access, DWORD share) const {
    return ::CreateFileW(FPath.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  }

  test::TTempDir FDir;
  std::filesystem::path FPath = FDir.File("messages.txt");
};

TEST_F(MessageFileSharingTest, AFileOpenForWritingElsewhereIsNotRead) {
  const HANDLE writer =
      OpenElsewhere(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  const auto error = test::Raised<Exception>([&] { TMessageFile file(FPath.string()); });
  ASSERT_TRUE(error) << "read a file that another handle may write";
  EXPECT_EQ(error->Message(), "ファイル " + FPath.string() + " は開けません");
  ::CloseHandle(writer);
  EXPECT_EQ(text::SplitLines(TMessageFile(FPath.string()).Text()), (Lines{"first", "second"}));
}

TEST_F(MessageFileSharingTest, OtherReadersAreWelcome) {
  const HANDLE reader = OpenElsewhere(GENERIC_READ, FILE_SHARE_READ);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(text::SplitLines(TMessageFile(FPath.string()).Text()), (Lines{"first", "second"}));
  ::CloseHandle(reader);
}

TEST_F(MessageFileSharingTest, ANameOutsideAsciiIsReadAsUtf8) {
  ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest's code page is in force";
  const std::wstring wideName =
      std::filesystem::path(FDir.Path()).wstring() + L"\\\u65e5\u672c\u8a9e.txt";
  std::filesystem::copy_file(FPath, wideName);
  const std::string utf8Name = FDir.Path() + "\\\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt";
  EXPECT_EQ(text::SplitLines(TMessageFile(utf8Name).Text()), (Lines{"first", "second"}));
}

}  // namespace
}  // namespace orvo
