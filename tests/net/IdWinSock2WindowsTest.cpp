#include <gtest/gtest.h>

#include <string>

#include "net/IdStackWindows.h"
#include "net/IdWinSock2.h"
#include "tests/support/Raised.h"

// The binding over the real WS2_32.DLL: what it loads, what it finds and what the system says
// when loading or finding fails.
namespace orvo {
namespace {

// Windows' codes for a library that can't be found and a name it doesn't export. The Windows
// headers can't be included here: they define the WinSock names as macros.
constexpr std::int32_t ModuleNotFound = 126;
constexpr std::int32_t ProcNotFound = 127;

class WindowsBindingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SharedStack(), nullptr); }
  void TearDown() override { ws2::SetLibraryLoader(nullptr); }
};

// The system's text for a code, as the binding shows it: without line end and full stop.
std::string SystemText(std::uint32_t code) {
  std::string text = platform::FormatMessageA(code);
  while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.'))
    text.pop_back();
  return text;
}

TEST_F(WindowsBindingTest, LoadsTheSystemsWinSockAndBindsItsOwnFunctions) {
  ws2::UnloadLibrary();
  TIdStackWindows stack;
  // Loading a loaded library again gives the handle of the one already loaded.
  const platform::TLibraryHandle winsock = platform::LoadLibraryA("ws2_32.dll");
  ASSERT_NE(winsock, nullptr);
  EXPECT_EQ(ws2::LibraryHandle(), winsock);
  EXPECT_EQ(reinterpret_cast<platform::TProcAddress>(ws2::StartupEntry()),
            platform::GetProcAddress(winsock, "WSAStartup"));

  EXPECT_EQ(ws2::htons(0x0102), 0x0201);
  // A generic row finds the ANSI function.
  const ws2::TSocket generic = ws2::WSASocket(2, 2, 0, nullptr, 0, 0);
  ASSERT_NE(generic, ws2::WS_INVALID_SOCKET);
  EXPECT_EQ(ws2::closesocket(generic), 0);
  platform::FreeLibrary(winsock);
}

TEST_F(WindowsBindingTest, MissingLibraryGivesTheLoadHeadingWithTheSystemsText) {
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader([] { return platform::LoadLibraryA("orvo-no-such-library.dll"); });
  const auto error = test::Raised<EIdWS2StubError>([] { TIdStackWindows stack; });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SystemCode(), ModuleNotFound);
  EXPECT_FALSE(error->SystemText().empty());
  EXPECT_EQ(error->SystemText(), SystemText(ModuleNotFound));
  EXPECT_EQ(error->Message(),
            "Error on loading Winsock2 library (WS2_32.DLL): " + SystemText(ModuleNotFound));
  EXPECT_EQ(ws2::LibraryHandle(), nullptr);

  ws2::SetLibraryLoader(nullptr);
  TIdStackWindows stack;
  EXPECT_NE(ws2::LibraryHandle(), nullptr);
}

TEST_F(WindowsBindingTest, LibraryWithoutStartUpIsRefusedWithTheSystemsReason) {
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader([] { return platform::LoadLibraryA("version.dll"); });
  const auto error = test::Raised<EIdWS2StubError>([] { TIdStackWindows stack; });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Heading(), "Error on call Winsock2 library function 'WSAStartup'");
  EXPECT_EQ(error->SystemCode(), ProcNotFound);
  EXPECT_EQ(error->SystemText(), SystemText(ProcNotFound));
  EXPECT_EQ(ws2::LibraryHandle(), nullptr);
}

TEST_F(WindowsBindingTest, RowTheLibraryDoesNotExportRaisesWithTheSystemsReason) {
  TIdStackWindows stack;
  // WS2_32 exports WSARecvEx only from the Microsoft extension library, not itself.
  const auto missing =
      test::Raised<EIdWS2StubError>([] { ws2::WSARecvEx(0, nullptr, 0, nullptr); });
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->Heading(), "Error on call Winsock2 library function 'WSARecvEx'");
  EXPECT_EQ(missing->SystemCode(), ProcNotFound);
}

TEST_F(WindowsBindingTest, CallBeforeStartUpRaisesNotInitialisedWithTheSystemsText) {
  ws2::UnloadLibrary();
  const auto error = test::Raised<EIdWS2StubError>([] { ws2::socket(2, 2, 0); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SystemCode(), 10093);
  EXPECT_EQ(error->SystemText(), SystemText(10093));
  EXPECT_EQ(error->Message(),
            "Error on call Winsock2 library function 'socket': " + SystemText(10093));
}

}  // namespace
}  // namespace orvo
