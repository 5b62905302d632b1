#include "net/IdWinSock2.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "net/IdStackWindows.h"
#include "tests/support/LoopbackReceiver.h"
#include "tests/support/Platform.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

constexpr const char* kNotStartedText =
    "Either the application has not called WSAStartup, or WSAStartup failed";

using Bytes = std::vector<std::uint8_t>;

// A value's bytes as they lie in memory: network order puts the most significant first on every
// processor.
template <typename Value>
Bytes NetworkBytes(Value value) {
  Bytes bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  return bytes;
}

// Every test starts and ends with no stack alive and the system's library as the one to load.
class BindingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SharedStack(), nullptr); }
  void TearDown() override { ws2::SetLibraryLoader(nullptr); }
};

// The name a row is looked up under, as a look-up with no library loaded names it in its failure.
std::string ExportName(ws2::TBindingRow row) {
  const auto error = test::Raised<EIdWS2StubError>([&] { ws2::binding::Resolve(row); });
  const std::string prefix = "Error on call Winsock2 library function '";
  if (!error || !error->Heading().starts_with(prefix) || !error->Heading().ends_with('\''))
    return "(no name)";
  return error->Heading().substr(prefix.size(), error->Heading().size() - prefix.size() - 1);
}

platform::TLibraryHandle LoadMissingLibrary() {
  return platform::LoadLibraryA("orvo-no-such-library.dll");
}

TEST(StubErrorTest, MessageIsHeadingAloneWithoutCodeElseHeadingColonAndSystemText) {
  if (test::kOnWindows)
    GTEST_SKIP() << "the POSIX stand-in's texts; IdWinSock2WindowsTest.cpp checks Windows' own";
  const EIdWS2StubError plain("Something failed", 0);
  EXPECT_EQ(plain.Message(), "Something failed");
  EXPECT_EQ(plain.SystemCode(), 0);
  EXPECT_EQ(plain.SystemText(), "");
  EXPECT_EQ(plain.Heading(), "Something failed");

  const EIdWS2StubError coded("Something failed", 10093);
  EXPECT_EQ(coded.SystemText(), kNotStartedText);  // the full stop and line end are gone
  EXPECT_EQ(coded.Message(), std::string("Something failed: ") + kNotStartedText);
}

TEST_F(BindingTest, TableHoldsTheRowsInTheirOrderWithGenericRowsUnderAnsiNames) {
  ws2::UnloadLibrary();
  ASSERT_EQ(ws2::BindingRowCount, 112u);
  std::set<std::string> names;
  for (std::size_t row = 0; row < ws2::BindingRowCount; ++row) {
    names.insert(ExportName(static_cast<ws2::TBindingRow>(row)));
  }
  EXPECT_EQ(names.size(), 100u);
  EXPECT_EQ(ExportName(static_cast<ws2::TBindingRow>(0)), "WSACleanup");
  EXPECT_EQ(ExportName(ws2::Row_socket), "socket");
  EXPECT_EQ(ws2::Row_socket, 23u);
  EXPECT_EQ(ExportName(ws2::Row_WSAFDIsSet), "__WSAFDIsSet");
  EXPECT_EQ(ws2::Row_WSAProviderConfigChange, 95u);
  EXPECT_EQ(ExportName(static_cast<ws2::TBindingRow>(111)), "WSARecvEx");

  const std::pair<ws2::TBindingRow, ws2::TBindingRow> genericAndAnsi[] = {
      {ws2::Row_WSADuplicateSocket, ws2::Row_WSADuplicateSocketA},
      {ws2::Row_WSAEnumProtocols, ws2::Row_WSAEnumProtocolsA},
      {ws2::Row_WSASocket, ws2::Row_WSASocketA},
      {ws2::Row_WSAAddressToString, ws2::Row_WSAAddressToStringA},
      {ws2::Row_WSAStringToAddress, ws2::Row_WSAStringToAddressA},
      {ws2::Row_WSALookupServiceBegin, ws2::Row_WSALookupServiceBeginA},
      {ws2::Row_WSALookupServiceNext, ws2::Row_WSALookupServiceNextA},
      {ws2::Row_WSAInstallServiceClass, ws2::Row_WSAInstallServiceClassA},
      {ws2::Row_WSAGetServiceClassInfo, ws2::Row_WSAGetServiceClassInfoA},
      {ws2::Row_WSAEnumNameSpaceProviders, ws2::Row_WSAEnumNameSpaceProvidersA},
      {ws2::Row_WSAGetServiceClassNameByClassId, ws2::Row_WSAGetServiceClassNameByClassIdA},
      {ws2::Row_WSASetService, ws2::Row_WSASetServiceA}};
  std::size_t expectedRow = 96;
  for (const auto& [generic, ansi] : genericAndAnsi) {
    EXPECT_EQ(generic, expectedRow++);
    EXPECT_EQ(ExportName(generic), ExportName(ansi));
  }
  EXPECT_EQ(ExportName(static_cast<ws2::TBindingRow>(108)), "TransmitFile");
}

TEST_F(BindingTest, CallBeforeStartUpRaisesNotInitialisedNamingTheFunction) {
  if (test::kOnWindows)
    GTEST_SKIP() << "the POSIX stand-in's texts; IdWinSock2WindowsTest.cpp checks Windows' own";
  ws2::UnloadLibrary();
  const auto error = test::Raised<EIdWS2StubError>([] { ws2::socket(2, 2, 0); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SystemCode(), 10093);
  EXPECT_EQ(error->Heading(), "Error on call Winsock2 library function 'socket'");
  EXPECT_EQ(error->Message(),
            std::string("Error on call Winsock2 library function 'socket': ") + kNotStartedText);
  // The failed call bound nothing: after a start-up the row reaches the library.
  TIdStackWindows stack;
  const ws2::TSocket socket = ws2::socket(2, 2, 0);
  EXPECT_GE(socket, 0);
  ws2::closesocket(socket);
}

TEST_F(BindingTest, StartUpLoadsOnceAndFunctionsBindAtTheirFirstCall) {
  ws2::UnloadLibrary();
  {
    TIdStackWindows first;
    const platform::TLibraryHandle handle = ws2::LibraryHandle();
    ws2::TWSAStartup* startup = ws2::StartupEntry();
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(startup, nullptr);
    TIdStackWindows second;
    EXPECT_EQ(ws2::LibraryHandle(), handle);
    EXPECT_EQ(ws2::StartupEntry(), startup);

    EXPECT_EQ(NetworkBytes(ws2::htons(0x0102)), (Bytes{0x01, 0x02}));
    EXPECT_EQ(NetworkBytes(ws2::htons(514)), (Bytes{0x02, 0x02}));
  }
  // The stacks are gone; the library stays loaded until it is unloaded.
  EXPECT_NE(ws2::LibraryHandle(), nullptr);
}

TEST_F(BindingTest, UnloadPutsTheSlotsBackToTheirStubsAndAStartUpLoadsAgain) {
  {
    TIdStackWindows stack;
    ws2::htons(1);
    ws2::WSAGetLastError();
  }
  ws2::UnloadLibrary();
  EXPECT_EQ(ws2::LibraryHandle(), nullptr);
  const auto notStarted = test::Raised<EIdWS2StubError>([] { ws2::htons(1); });
  ASSERT_TRUE(notStarted);
  EXPECT_EQ(notStarted->SystemCode(), 10093);

  TIdStackWindows again;
  EXPECT_NE(ws2::LibraryHandle(), nullptr);
  EXPECT_EQ(NetworkBytes(ws2::htons(1)), (Bytes{0, 1}));
}

TEST_F(BindingTest, MissingLibraryGivesTheLoadHeadingWithThePlatformsReason) {
  if (test::kOnWindows)
    GTEST_SKIP() << "the POSIX stand-in's texts; IdWinSock2WindowsTest.cpp checks Windows' own";
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader(&LoadMissingLibrary);
  const auto error = test::Raised<EIdWS2StubError>([] { TIdStackWindows stack; });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SystemCode(), 126);
  EXPECT_EQ(error->Message(),
            "Error on loading Winsock2 library (WS2_32.DLL): The specified module could not be "
            "found");
  EXPECT_EQ(ws2::LibraryHandle(), nullptr);

  // A failed load leaves nothing behind: the next start-up tries again.
  ws2::SetLibraryLoader(nullptr);
  TIdStackWindows stack;
  EXPECT_NE(ws2::LibraryHandle(), nullptr);
}

// The adapter exports the functions the program calls; every other row fails as a missing export
// does, a generic row under its ANSI name.
TEST_F(BindingTest, RowsTheAdapterDoesNotExportRaiseInsteadOfCallingNothing) {
  if (test::kOnWindows)
    GTEST_SKIP() << "the POSIX adapter's rows; IdWinSock2WindowsTest.cpp checks Windows' own";
  TIdStackWindows stack;
  const std::pair<const char*, void (*)()> rows[] = {
      {"WSAAsyncSelect", [] { ws2::WSAAsyncSelect(0, nullptr, 0, 0); }},
      {"WSASetLastError", [] { ws2::WSASetLastError(0); }},
      {"bind", [] { ws2::bind(0, nullptr, 0); }},
      {"recvfrom", [] { ws2::recvfrom(0, nullptr, 0, 0, nullptr, nullptr); }},
      {"select", [] { ws2::select(0, nullptr, nullptr, nullptr, nullptr); }},
      {"getservbyname", [] { ws2::getservbyname(nullptr, nullptr); }},
      {"htonl", [] { ws2::htonl(1); }},
      {"WSAEnumProtocolsA", [] { ws2::WSAEnumProtocols(nullptr, nullptr, nullptr); }},
  };
  for (const auto& [name, call] : rows) {
    const auto missing = test::Raised<EIdWS2StubError>(call);
    ASSERT_TRUE(missing) << name;
    EXPECT_EQ(missing->SystemCode(), 127);
    EXPECT_EQ(missing->Message(), std::string("Error on call Winsock2 library function '") + name +
                                      "': The specified procedure could not be found");
    // A second call looks the name up again and fails alike.
    EXPECT_TRUE(test::Raised<EIdWS2StubError>(call)) << name;
  }
}

// Where the stack stands in a fresh frame. Called through a volatile pointer, so that it is
// never inlined and each reading is a call made from the caller's stack pointer.
std::uintptr_t StackMarkOfACall() {
  volatile char mark = 0;
  return reinterpret_cast<std::uintptr_t>(&mark);
}
std::uintptr_t (*volatile gStackMark)() = &StackMarkOfACall;

// A binding that called 32-bit Windows' __stdcall functions as ordinary ones would move the stack
// pointer at every call. Each call is made through its stub, then straight to the library.
TEST_F(BindingTest, CallsWithArgumentsOnTheStackLeaveTheStackWhereItWas) {
  ws2::UnloadLibrary();
  test::TLoopbackReceiver receiver;
  TIdStackWindows stack;
  const ws2::TSocket socket = ws2::socket(ws2::WS_AF_INET, ws2::WS_SOCK_DGRAM, 0);
  ASSERT_NE(socket, ws2::WS_INVALID_SOCKET);
  ws2::TSockAddrIn to{};
  to.sin_family = static_cast<std::uint16_t>(ws2::WS_AF_INET);
  to.sin_port = ws2::htons(static_cast<std::uint16_t>(receiver.Port()));
  to.sin_addr[0] = 127;
  to.sin_addr[3] = 1;

  const std::int32_t broadcastOff = 0;
  const char datagram[] = "balanced";
  for (int round = 0; round < 2; ++round) {
    const std::uintptr_t before = gStackMark();
    const std::int32_t set =
        ws2::setsockopt(socket, ws2::WS_SOL_SOCKET, ws2::WS_SO_BROADCAST,
                        reinterpret_cast<const char*>(&broadcastOff), sizeof broadcastOff);
    const std::uintptr_t afterSetsockopt = gStackMark();
    const std::int32_t sent = ws2::sendto(socket, datagram, sizeof datagram, 0, &to, sizeof to);
    const std::uintptr_t afterSendto = gStackMark();

    EXPECT_EQ(afterSetsockopt, before) << "round " << round;
    EXPECT_EQ(afterSendto, before) << "round " << round;
    EXPECT_EQ(set, 0);
    EXPECT_EQ(sent, static_cast<std::int32_t>(sizeof datagram));
    const auto received = receiver.Receive();
    ASSERT_TRUE(received);
    EXPECT_EQ(received->Payload, std::string(datagram, sizeof datagram));
  }
  EXPECT_EQ(ws2::closesocket(socket), 0);
}

TEST_F(BindingTest, LastErrorBelongsToTheCallingThread) {
  if (test::kOnWindows)
    GTEST_SKIP()
        << "Windows keeps the last error in the thread's GetLastError, which any call may change";
  TIdStackWindows stack;
  const std::int32_t on = 1;
  EXPECT_EQ(ws2::socket(99, 2, 0), ws2::WS_INVALID_SOCKET);
  std::int32_t seenByOtherThread = -1;
  std::thread other([&] {
    ws2::setsockopt(0, ws2::WS_SOL_SOCKET, 0x7777, reinterpret_cast<const char*>(&on), sizeof on);
    seenByOtherThread = ws2::WSAGetLastError();
  });
  other.join();
  EXPECT_EQ(seenByOtherThread, 10042);
  EXPECT_EQ(ws2::WSAGetLastError(), 10047);
}

}  // namespace
}  // namespace orvo
