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

TEST_F(ScriptedStackTest, CheckSocketResultRaisesOnlyForUntoleratedFailures) {
  EXPECT_FALSE(Stack().CheckSocketResult(0));
  EXPECT_FALSE(Stack().CheckSocketResult(12345));
  EXPECT_EQ(Stack().LastCode(), 0);

  FScript->LastError = 10035;
  EXPECT_TRUE(Stack().CheckSocketResult(-1, {10061, 10035}));
  EXPECT_EQ(Stack().LastCode(), 10035);

  const auto error = test::Raised<EIdSocketError>([&] { Stack().CheckSocketResult(-1); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SocketCode(), 10035);
  EXPECT_EQ(error->Message(), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_FALSE(Stack().CheckSocketResult(7));
  EXPECT_EQ(Stack().LastCode(), 10035);
}

// The library's record of an address, as the stack reads one back: port and address in network
// order.
ws2::TSockAddrIn Record(std::uint16_t family, std::uint8_t portHigh, std::uint8_t portLow,
                        TIdIn4Addr address) {
  ws2::TSockAddrIn record{};
  record.sin_family = family;
  const std::uint8_t port[2] = {portHigh, portLow};
  std::memcpy(&record.sin_port, port, sizeof port);
  std::memcpy(record.sin_addr, address.data(), address.size());
  return record;
}

TEST_F(ScriptedStackTest, BindAndConnectHandTheLibraryAZeroFilledRecordOf16Bytes) {
  const ws2::TSockAddrIn any = Record(2, 0x02, 0x02, {0, 0, 0, 0});
  const ws2::TSockAddrIn given = Record(2, 0x19, 0x9A, {10, 0, 0, 7});
  EXPECT_EQ(Stack().SockBind(5, 2, "", 514), 0);
  EXPECT_EQ(std::memcmp(&FScript->Record, &any, sizeof any), 0) << "no address is any address";
  EXPECT_EQ(FScript->RecordLength, 16);
  EXPECT_EQ(FScript->Socket, 5);
  EXPECT_EQ(Stack().SockBind(5, 2, "10.0.0.7", 6554), 0);
  EXPECT_EQ(std::memcmp(&FScript->Record, &given, sizeof given), 0);
  FScript->Record = ws2::TSockAddrIn{};
  FScript->Result = -1;
  EXPECT_EQ(Stack().SockConnect(6, 2, "10.0.0.7", 6554), -1);
  EXPECT_EQ(std::memcmp(&FScript->Record, &given, sizeof given), 0);
  EXPECT_EQ(FScript->Socket, 6);
}

TEST_F(ScriptedStackTest, RecordsTheLibraryHandsBackAreReadAsFamilyTextAndPort) {
  FScript->Peer = Record(2, 0x19, 0x9A, {192, 168, 1, 20});
  FScript->Result = 9;
  std::string ip;
  std::int32_t port = 0;
  EXPECT_EQ(Stack().SockAccept(4, ip, port), 9);
  EXPECT_EQ(ip, "192.168.1.20");
  EXPECT_EQ(port, 6554);
  EXPECT_EQ(FScript->Length, 16) << "room for the record";

  FScript->Received = "hello";
  char buffer[8] = {};
  EXPECT_EQ(Stack().SockRecvFrom(4, buffer, sizeof buffer, 2, ip, port), 9);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(FScript->Flags, 2);
  EXPECT_EQ(ip, "192.168.1.20");

  FScript->Result = 0;
  FScript->Peer = Record(2, 0x00, 0x07, {127, 0, 0, 1});
  std::int32_t family = 0;
  Stack().SockLocalName(4, family, ip, port);
  EXPECT_EQ(family, 2);
  EXPECT_EQ(ip, "127.0.0.1");
  EXPECT_EQ(port, 7);
  FScript->Peer = Record(2, 0x01, 0x00, {10, 9, 8, 7});
  Stack().SockPeerName(4, family, ip, port);
  EXPECT_EQ(ip, "10.9.8.7");
  EXPECT_EQ(port, 256);

  FScript->Result = -1;
  FScript->LastError = 10057;
  const auto error =
      test::Raised<EIdSocketError>([&] { Stack().SockPeerName(4, family, ip, port); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SocketCode(), 10057);
}

TEST_F(ScriptedStackTest, SelectTakesListsAndAWaitAndGivesBackTheReadySockets) {
  std::vector<TIdStackSocketHandle> readable{3, 4, 5};
  std::vector<TIdStackSocketHandle> writable{6};
  FScript->Ready = 1;
  FScript->Result = 2;
  EXPECT_EQ(Stack().SockSelect(&readable, &writable, nullptr, 2500), 2);
  EXPECT_EQ(FScript->Sets[0].fd_count, 3u);
  EXPECT_EQ(FScript->Sets[0].fd_array[2], 5);
  EXPECT_EQ(FScript->Sets[1].fd_count, 1u);
  EXPECT_EQ(FScript->Sets[2].fd_count, 0u) << "no list is an empty set";
  EXPECT_FALSE(FScript->WaitsForever);
  EXPECT_EQ(FScript->Timeout.tv_sec, 2);
  EXPECT_EQ(FScript->Timeout.tv_usec, 500000);
  EXPECT_EQ(readable, std::vector<TIdStackSocketHandle>{3});
  EXPECT_EQ(writable, std::vector<TIdStackSocketHandle>{6});

  Stack().SockSelect(&readable, nullptr, nullptr, -2);
  EXPECT_TRUE(FScript->WaitsForever) << "-2 waits without end";
}

TEST_F(ScriptedStackTest, StreamCallsAndOptionsPassThroughToTheLibrary) {
  FScript->Result = 4;
  const char text[] = "ping";
  EXPECT_EQ(Stack().SockSend(7, text, 4, 1), 4);
  EXPECT_EQ(FScript->Buffer, text);
  EXPECT_EQ(FScript->Length, 4);
  EXPECT_EQ(FScript->Flags, 1);
  FScript->Received = "pong";
  char buffer[8] = {};
  EXPECT_EQ(Stack().SockRecv(7, buffer, sizeof buffer, 0), 4);
  EXPECT_STREQ(buffer, "pong");
  EXPECT_EQ(Stack().SockListen(7, 12), 4);
  EXPECT_EQ(FScript->Length, 12);

  FScript->Result = 0;
  FScript->OptionValue = 1;
  std::int32_t value = 0;
  std::int32_t length = 4;
  EXPECT_EQ(Stack().SockGetOption(7, 0xFFFF, 0x20, &value, length), 0);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(length, 4);
  EXPECT_EQ(FScript->Level, 0xFFFF);
  EXPECT_EQ(FScript->Name, 0x20);
}

TEST_F(ScriptedStackTest, ByteOrderFunctionsAreTheLibrarys) {
  const std::uint32_t value = Stack().AddressOf("192.168.0.1");
  EXPECT_EQ(Stack().SockNetToHostLong(value), 0xC0A80001u);
  EXPECT_EQ(Stack().SockHostToNetLong(0xC0A80001u), value);
  EXPECT_EQ(Stack().SockNetToHostShort(Stack().SockHostToNetShort(0x0102)), 0x0102);
}

TEST_F(ScriptedStackTest, AnAddressIsNamedByTheLibrarysEntryForItsBytes) {
  const std::uint8_t bytes[4] = {127, 0, 0, 1};
  std::uint32_t address = 0;
  std::memcpy(&address, bytes, sizeof address);
  FScript->Result = static_cast<std::int32_t>(address);
  FScript->HostByAddrName = "localhost";
  EXPECT_EQ(Stack().SockHostByAddr("127.0.0.1"), "localhost");
  EXPECT_STREQ(FScript->LastText, "127.0.0.1");
  EXPECT_EQ(std::memcmp(FScript->AddressAsked, bytes, 4), 0);
  EXPECT_EQ(FScript->Length, 4);
  EXPECT_EQ(FScript->Name, 2);

  FScript->HostByAddrName = nullptr;
  FScript->LastError = 11004;
  const auto error = test::Raised<EIdSocketError>([&] { Stack().SockHostByAddr("10.0.0.1"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SocketCode(), 11004);
}

TEST_F(ScriptedStackTest, ServicesAreLookedUpByNameElseReadAsNumbers) {
  FScript->ServicePort = Stack().SockHostToNetShort(514);
  EXPECT_EQ(Stack().SockServicePort("syslog"), 514);
  EXPECT_STREQ(FScript->LastText, "syslog");
  FScript->ServicePort = -1;
  EXPECT_EQ(Stack().SockServicePort("6514"), 6514);
  const auto unknown =
      test::Raised<EIdInvalidServiceName>([&] { Stack().SockServicePort("no-such-service"); });
  ASSERT_TRUE(unknown) << "an unknown service was accepted";
  EXPECT_EQ(unknown->Message(), "no-such-service is not a valid service.");

  FScript->ServiceNames[0] = "echo";
  FScript->ServiceNames[1] = "ping";
  EXPECT_EQ(Stack().SockServiceNames(7), (std::vector<std::string>{"echo", "ping"}));
  EXPECT_EQ(FScript->PortAsked, Stack().SockHostToNetShort(7));
  FScript->ServiceNames[0] = nullptr;
  EXPECT_TRUE(Stack().SockServiceNames(1023).empty());
}

// A library whose table the test changes: what a row calls shows where it was bound.
std::int32_t gCalledVersion = 0;
std::uint16_t FirstHtons(std::uint16_t) {
  gCalledVersion = 1;
  return 0;
}
std::uint16_t SecondHtons(std::uint16_t) {
  gCalledVersion = 2;
  return 0;
}
ws2::TSocket FirstSocket(std::int32_t, std::int32_t, std::int32_t, ws2::TOpaque, std::uint32_t,
                         std::uint32_t) {
  return 1;
}
ws2::TSocket SecondSocket(std::int32_t, std::int32_t, std::int32_t, ws2::TOpaque, std::uint32_t,
                          std::uint32_t) {
  return 2;
}
std::int32_t Started(std::uint16_t, ws2::TWSAData*) {
  return 0;
}
std::int32_t Nothing() {
  return 0;
}
platform::TExport gChanging[] = {
    platform::ExportOf<ws2::TWSAStartup>("WSAStartup", &Started),
    platform::ExportOf<ws2::TWSACleanup>("WSACleanup", &Nothing),
    platform::ExportOf<ws2::TWSACancelBlockingCall>("WSACancelBlockingCall", &Nothing),
    platform::ExportOf<ws2::Thtons>("htons", &FirstHtons),
    platform::ExportOf<ws2::TWSASocket>("WSASocketA", &FirstSocket),
};
platform::TLibraryHandle ChangingLibrary() {
  static const platform::TExportTable table(gChanging);
  return &table;
}

TEST_F(ScriptedStackTest, ARowBindsAtItsFirstCallAndUntilTheLibraryIsUnloaded) {
  FClient.reset();
  ws2::UnloadLibrary();
  ws2::SetLibraryLoader(&ChangingLibrary);
  gChanging[3] = platform::ExportOf<ws2::Thtons>("htons", &FirstHtons);
  gChanging[4] = platform::ExportOf<ws2::TWSASocket>("WSASocketA", &FirstSocket);
  {
    TIdStackWindows stack;
    ws2::htons(1);
    EXPECT_EQ(gCalledVersion, 1);
    // Generic and ANSI rows have slots of their own under the same export name.
    EXPECT_EQ(ws2::WSASocket(2, 2, 0, nullptr, 0, 0), 1);
    gChanging[3] = platform::ExportOf<ws2::Thtons>("htons", &SecondHtons);
    gChanging[4] = platform::ExportOf<ws2::TWSASocket>("WSASocketA", &SecondSocket);
    ws2::htons(1);
    EXPECT_EQ(gCalledVersion, 1) << "a bound row calls what it found, without a look-up";
    EXPECT_EQ(ws2::WSASocket(2, 2, 0, nullptr, 0, 0), 1);
    EXPECT_EQ(ws2::WSASocketA(2, 2, 0, nullptr, 0, 0), 2);
  }
  ws2::UnloadLibrary();
  TIdStackWindows again;
  ws2::htons(1);
  EXPECT_EQ(gCalledVersion, 2) << "unloading put the row back to its stub";
  EXPECT_EQ(ws2::WSASocket(2, 2, 0, nullptr, 0, 0), 2);
}

}  // namespace
}  // namespace orvo
