// The binding, the stack and the UDP client over libraries of the tests' making: what exactly
// reaches the library, and the failures the adapter and real loopback sockets never give.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ScriptedWinSock.h"
#include "net/IdStack.h"
#include "net/IdStackWindows.h"
#include "net/IdUDPClient.h"
#include "net/IdWinSock2.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

class ScriptedStackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SharedStack(), nullptr);
    ws2::UnloadLibrary();
    test::Script() = test::TScriptedWinSock{};
    ws2::SetLibraryLoader(&test::ScriptedLibrary);
    FClient = std::make_unique<TIdUDPClient>();
    FClient->SetHost("192.168.0.1");
    FClient->SetPort(514);
  }

  void TearDown() override {
    FClient.reset();
    ws2::UnloadLibrary();
    ws2::SetLibraryLoader(nullptr);
  }

  TIdStack& Stack() { return *SharedStack(); }

  std::unique_ptr<TIdUDPClient> FClient;
  test::TScriptedWinSock* FScript = &test::Script();
};

TEST_F(ScriptedStackTest, SendToGetsAZeroFilledIPv4RecordOf16Bytes) {
  const std::string text = "payload";
  FClient->SendText(text);
  ASSERT_EQ(FScript->SendToCalls, 1);
  // The family is a short in the processor's own order, as WinSock has it; the port and the
  // address follow in network order.
  std::uint16_t family = 0;
  std::memcpy(&family, FScript->SendToRecord, sizeof family);
  EXPECT_EQ(family, 2);
  const std::uint8_t expected[14] = {0x02, 0x02, 192, 168, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(FScript->SendToRecord + 2, expected, sizeof(expected)), 0);
  EXPECT_EQ(FScript->SendToRecordLength, 16);
  EXPECT_EQ(FScript->SendToFlags, 0);
  EXPECT_EQ(FScript->SendToBuffer, text.data());  // sent from the text itself, not a copy
}

TEST_F(ScriptedStackTest, DottedAndLocalhostHostsAreNotLookedUpButNamesAreOnEverySend) {
  FClient->SetHost("010.000.000.001");
  FClient->SendText("x");
  EXPECT_EQ(FScript->SendToRecord[4], 10);
  EXPECT_EQ(FScript->SendToRecord[7], 1);
  FClient->SetHost("LocalHost");
  FClient->SendText("x");
  EXPECT_EQ(FScript->SendToRecord[4], 127);
  EXPECT_EQ(FScript->HostByNameCalls, 0);

  // The empty host after a dotted one is no address read before: the resolver is asked.
  FClient->SetHost("010.000.000.001");
  FClient->SendText("x");
  FClient->SetHost("");
  FClient->SendText("x");
  EXPECT_EQ(FScript->HostByNameCalls, 1);

  FClient->SetHost("logs.example");
  FClient->SendText("x");
  FClient->SendText("x");
  EXPECT_EQ(FScript->HostByNameCalls, 3);
  EXPECT_STREQ(FScript->LastHostByName, "logs.example");
  EXPECT_EQ(FScript->SendToRecord[4], 10);
  EXPECT_EQ(FScript->SendToRecord[7], 3);
}

TEST_F(ScriptedStackTest, EachSendBuildsItsRecordFromTheHostItNamesNow) {
  const std::pair<const char*, std::uint8_t> hosts[] = {
      {"10.0.0.1", 1}, {"10.0.0.2", 2},  {"10.0.0.2", 2}, {"localhost", 1},
      {"10.0.0.1", 1}, {"10.0.0.+5", 5}, {"10.0.0.1", 1}, {"10.0.0.9", 9}};
  for (const auto& [host, last] : hosts) {
    FClient->SetHost(host);
    FClient->SendText("x");
    EXPECT_EQ(FScript->SendToRecord[7], last) << host;
  }
  EXPECT_EQ(FScript->SendToCalls, 8);
  EXPECT_EQ(FScript->HostByNameCalls, 0);
}

TEST_F(ScriptedStackTest, EveryNewSocketGetsTheBroadcastOptionAsAllOnesOrZero) {
  FClient->SendText("x");
  EXPECT_EQ(FScript->SocketCalls, 1);
  EXPECT_EQ(FScript->SetOptionCalls, 1);
  EXPECT_EQ(FScript->SetOptionLevel, 0xFFFF);
  EXPECT_EQ(FScript->SetOptionName, 0x20);
  EXPECT_EQ(FScript->SetOptionValue, 0);
  EXPECT_EQ(FScript->SetOptionLength, 4);

  FClient->SetBroadcastEnabled(true);
  EXPECT_EQ(FScript->SetOptionCalls, 2);
  EXPECT_EQ(FScript->SetOptionValue, -1);
  FClient->SetBroadcastEnabled(true);
  EXPECT_EQ(FScript->SetOptionCalls, 2);
}

TEST_F(ScriptedStackTest, ClosingShutsTheSendingSideDownThenCloses) {
  FClient->SendText("x");
  FClient->SetActive(false);
  EXPECT_STREQ(FScript->CloseOrder, "sc");
  EXPECT_EQ(FScript->ShutdownHow, 1);
}

TEST_F(ScriptedStackTest, ShortSendRaisesNotAllBytesSent) {
  FScript->SendToResult = 3;
  const auto error = test::Raised<EIdNotAllBytesSent>([&] { FClient->SendText("longer"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message(), "Not all bytes sent.");
}

TEST_F(ScriptedStackTest, FailedSendRaisesTheNumberedMessageOrPackageSizeTooBig) {
  FScript->SendToResult = -1;
  FScript->LastError = 10065;
  const auto unreachable = test::Raised<EIdSocketError>([&] { FClient->SendText("x"); });
  ASSERT_TRUE(unreachable);
  EXPECT_EQ(unreachable->Message(), "Socket Error # 10065\r\nNo route to host.");
  EXPECT_EQ(Stack().LastCode(), 10065);

  FScript->LastError = 10040;
  EXPECT_THROW(FClient->SendText("x"), EIdPackageSizeTooBig);
  EXPECT_TRUE(FClient->Active());
}

TEST_F(ScriptedStackTest, RefusedBroadcastOptionLeavesTheSocketOpenAndIsNotRetried) {
  FScript->SetOptionResult = -1;
  FScript->LastError = 10042;
  const auto refused = test::Raised<EIdSocketError>([&] { FClient->SendText("x"); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Message(), "Socket Error # 10042\r\nBad protocol option.");
  EXPECT_TRUE(FClient->Active());
  EXPECT_EQ(FScript->SendToCalls, 0);

  FClient->SendText("x");
  EXPECT_EQ(FScript->SetOptionCalls, 1);
  EXPECT_EQ(FScript->SendToCalls, 1);
}

TEST_F(ScriptedStackTest, RefusedSocketIsTriedAgainAtTheNextSend) {
  FScript->SocketResult = -1;
  const auto refused = test::Raised<EIdInvalidSocket>([&] { FClient->SendText("x"); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Message(), "Cannot allocate socket.");
  EXPECT_FALSE(FClient->Active());

  FScript->SocketResult = 5;
  FClient->SendText("x");
  EXPECT_EQ(FScript->SocketCalls, 2);
  EXPECT_TRUE(FClient->Active());
}

TEST_F(ScriptedStackTest, FirstAddressOfAnEntryIsTakenAndTheLocalListHoldsThemAll) {
  FScript->HostAddressCount = 3;
  const std::uint8_t addresses[3][4] = {{10, 0, 0, 7}, {192, 168, 1, 2}, {127, 0, 0, 1}};
  std::memcpy(FScript->HostAddresses, addresses, sizeof(addresses));
  EXPECT_EQ(Stack().ResolveAddress("several"), "10.0.0.7");

  const std::vector<std::string>& list = Stack().LocalAddressList();
  EXPECT_STREQ(FScript->LastHostByName, "scripted-host");
  EXPECT_EQ(list, (std::vector<std::string>{"10.0.0.7", "192.168.1.2", "127.0.0.1"}));

  FScript->HostAddressCount = 1;
  EXPECT_EQ(Stack().LocalAddressList(), std::vector<std::string>{"10.0.0.7"});
  EXPECT_EQ(Stack().FirstLocalAddress(), "10.0.0.7");
}

TEST_F(ScriptedStackTest, EntriesWithoutAddressesAreFailuresNotReadsOfNothing) {
  FScript->HostAddressCount = 0;
  const auto noData = test::Raised<EIdSocketError>([&] { Stack().ResolveAddress("empty"); });
  ASSERT_TRUE(noData);
  EXPECT_EQ(noData->SocketCode(), 11004);
  EXPECT_EQ(Stack().LastCode(), 11004);

  const auto noEntry = test::Raised<Exception>([&] { Stack().FirstLocalAddress(); });
  ASSERT_TRUE(noEntry);
  EXPECT_EQ(noEntry->Message(), "List index out of bounds (0)");
}

TEST_F(ScriptedStackTest, UnknownLocalHostFailsWithTheResolversCode) {
  FScript->HostAddressCount = -1;
  FScript->LastError = 11001;
  const auto error = test::Raised<EIdSocketError>([&] { Stack().FirstLocalAddress(); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Message(), "Socket Error # 11001\r\n");
}

TEST_F(ScriptedStackTest, UnreadableHostNameIsTheEmptyName) {
  FScript->HostNameResult = -1;
  EXPECT_EQ(Stack().SockHostName(), "");
  Stack().LocalAddressList();
  EXPECT_STREQ(FScript->LastHostByName, "");
}

// Libraries that make no stack: one without WSAStartup, which is not kept, and one whose start-up
// fails.
TEST_F(ScriptedStackTest, LibraryWithoutStartUpOrWhoseStartUpFailsMakesNoStack) {
  FClient.reset();
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader([] {
    static const platform::TExportTable nothing;
    return &nothing;
  });
  const auto noStartUp = test::Raised<EIdWS2StubError>([] { TIdStackWindows stack; });
  ASSERT_TRUE(noStartUp);
  EXPECT_EQ(noStartUp->Message(),
            "Error on call Winsock2 library function 'WSAStartup': The specified procedure could "
            "not be found");
  EXPECT_EQ(ws2::LibraryHandle(), nullptr);

  ws2::SetLibraryLoader(&test::ScriptedLibrary);
  FScript->StartupResult = 10091;  // WSASYSNOTREADY
  const auto notReady = test::Raised<EIdStackInitializationFailed>([] { TIdStackWindows stack; });
  ASSERT_TRUE(notReady);
  EXPECT_EQ(notReady->Message(), "Winsock Initialization Error.");
}

}  // namespace
}  // namespace orvo
