// The stack's wrappers of the WinSock functions the program itself does not call, over the real
// WS2_32.DLL; ScriptedStackTest runs them over the scripted library on POSIX.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/net/StackFixture.h"
#include "tests/support/LoopbackReceiver.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

using namespace test;

class WindowsStackTest : public TStackFixture {};

TEST_F(WindowsStackTest, ConnectionFailuresArriveInWinSockNumbering) {
  const TIdStackSocketHandle unconnected = OpenSocket(kDatagram);
  std::int32_t family = 0;
  std::string ip;
  std::int32_t port = 0;
  const auto notConnected =
      test::Raised<EIdSocketError>([&] { FStack.SockPeerName(unconnected, family, ip, port); });
  ASSERT_TRUE(notConnected);
  EXPECT_EQ(notConnected->Message(), "Socket Error # 10057\r\nSocket is not connected.");

  // A loopback port that was just free refuses a stream connection.
  std::int32_t closedPort = 0;
  {
    test::TLoopbackReceiver released;
    closedPort = released.Port();
  }
  const TIdStackSocketHandle stream = OpenSocket(kStream);
  const auto refused = test::Raised<EIdSocketError>(
      [&] { FStack.CheckSocketResult(FStack.SockConnect(stream, 2, "127.0.0.1", closedPort)); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Message(), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(FStack.LastCode(), 10061);
}

TEST_F(WindowsStackTest, ByteOrderFunctionsAreTheLibrarys) {
  const std::uint32_t value = FStack.AddressOf("192.168.0.1");
  EXPECT_EQ(FStack.SockNetToHostLong(value), 0xC0A80001u);
  EXPECT_EQ(FStack.SockHostToNetLong(0xC0A80001u), value);
  EXPECT_EQ(FStack.SockNetToHostShort(FStack.SockHostToNetShort(0x0102)), 0x0102);
}

TEST_F(WindowsStackTest, NamesOfAddressesAndServices) {
  EXPECT_EQ(FStack.SockHostByAddr("127.0.0.1"), "localhost");
  EXPECT_EQ(FStack.SockServicePort("syslog"), 514);
  EXPECT_EQ(FStack.SockServicePort("6514"), 6514);
  const auto unknown =
      test::Raised<EIdInvalidServiceName>([&] { FStack.SockServicePort("no-such-service"); });
  ASSERT_TRUE(unknown) << "an unknown service was accepted";
  EXPECT_EQ(unknown->Message(), "no-such-service is not a valid service.");
  const std::vector<std::string> names = FStack.SockServiceNames(7);
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "echo");
  EXPECT_TRUE(FStack.SockServiceNames(1023).empty());
}

TEST_F(WindowsStackTest, SocketOptionsReadBackUnderWinSockNumbers) {
  const TIdStackSocketHandle socket = OpenSocket(kDatagram);
  const std::int32_t on = -1;
  EXPECT_EQ(FStack.SockSetOption(socket, kSocketLevel, kBroadcast, &on, 4), 0);
  std::int32_t value = 0;
  std::int32_t length = 4;
  EXPECT_EQ(FStack.SockGetOption(socket, kSocketLevel, kBroadcast, &value, length), 0);
  EXPECT_NE(value, 0);
  EXPECT_EQ(length, 4);
}

TEST_F(WindowsStackTest, DatagramsTravelThroughBindSendToAndRecvFrom) {
  const TIdStackSocketHandle receiver = OpenSocket(kDatagram);
  ASSERT_EQ(FStack.SockBind(receiver, 2, "127.0.0.1", 0), 0);
  std::int32_t family = 0;
  std::string ip;
  std::int32_t port = 0;
  FStack.SockLocalName(receiver, family, ip, port);
  EXPECT_EQ(family, 2);
  EXPECT_EQ(ip, "127.0.0.1");
  ASSERT_GT(port, 0);

  const TIdStackSocketHandle sender = OpenSocket(kDatagram);
  EXPECT_EQ(FStack.SockSendTo(sender, "hello", 5, 0, kLoopback, port), 5);

  std::vector<TIdStackSocketHandle> readable{receiver};
  EXPECT_EQ(FStack.SockSelect(&readable, nullptr, nullptr, 2000), 1);
  EXPECT_EQ(readable, std::vector<TIdStackSocketHandle>{receiver});

  char buffer[16] = {};
  std::string senderIp;
  std::int32_t senderPort = 0;
  EXPECT_EQ(FStack.SockRecvFrom(receiver, buffer, sizeof(buffer), 0, senderIp, senderPort), 5);
  EXPECT_EQ(std::string(buffer, 5), "hello");
  EXPECT_EQ(senderIp, "127.0.0.1");
  EXPECT_GT(senderPort, 0);

  // Nothing more to read: the list comes back empty when the wait ends.
  readable = {receiver};
  EXPECT_EQ(FStack.SockSelect(&readable, nullptr, nullptr, 10), 0);
  EXPECT_TRUE(readable.empty());
}

TEST_F(WindowsStackTest, StreamSocketsAcceptConnectAndExchange) {
  const TIdStackSocketHandle listener = OpenSocket(kStream);
  ASSERT_EQ(FStack.SockBind(listener, 2, "", 0), 0);
  ASSERT_EQ(FStack.SockListen(listener, 1), 0);
  std::int32_t family = 0;
  std::string ip;
  std::int32_t port = 0;
  FStack.SockLocalName(listener, family, ip, port);
  EXPECT_EQ(ip, "0.0.0.0");

  const TIdStackSocketHandle client = OpenSocket(kStream);
  FStack.CheckSocketResult(FStack.SockConnect(client, 2, "127.0.0.1", port));
  std::string peerIp;
  std::int32_t peerPort = 0;
  const TIdStackSocketHandle served = FStack.SockAccept(listener, peerIp, peerPort);
  ASSERT_GE(served, 0);
  FSockets.push_back(served);
  EXPECT_EQ(peerIp, "127.0.0.1");

  EXPECT_EQ(FStack.SockSend(client, "ping", 4, 0), 4);
  char buffer[8] = {};
  EXPECT_EQ(FStack.SockRecv(served, buffer, sizeof(buffer), 0), 4);
  EXPECT_EQ(std::string(buffer, 4), "ping");

  FStack.SockShutdown(client, 1);
  EXPECT_EQ(FStack.SockRecv(served, buffer, sizeof(buffer), 0), 0);
  EXPECT_EQ(FStack.SockSend(client, "late", 4, 0), -1);
  EXPECT_EQ(FStack.SockLastError(), 10058);
}

}  // namespace
}  // namespace orvo
