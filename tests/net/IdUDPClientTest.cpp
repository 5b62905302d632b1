#include "net/IdUDPClient.h"

#include <gtest/gtest.h>

#include <string>

#include "net/IdStack.h"
#include "tests/support/Handles.h"
#include "tests/support/LoopbackReceiver.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

using test::TLoopbackReceiver;

class UDPClientTest : public ::testing::Test {
 protected:
  UDPClientTest() {
    FClient.SetHost("127.0.0.1");
    FClient.SetPort(FReceiver.Port());
  }

  bool BroadcastOptionSet() {
    return test::BroadcastEnabled(static_cast<std::uintptr_t>(FClient.SocketHandle().Socket()));
  }

  TLoopbackReceiver FReceiver;
  TIdUDPClient FClient;
};

TEST_F(UDPClientTest, SendsTextsFromOneSocketOpenedAtTheFirstSend) {
  EXPECT_FALSE(FClient.Active());
  FClient.SendText("first");
  EXPECT_TRUE(FClient.Active());
  FClient.SendText("second");

  const auto first = FReceiver.Receive();
  const auto second = FReceiver.Receive();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Payload, "first");
  EXPECT_EQ(second->Payload, "second");
  EXPECT_EQ(first->SenderPort, second->SenderPort);
}

TEST_F(UDPClientTest, DeactivatingClosesTheSocketAndTheNextSendOpensANewOne) {
  FClient.SendText("one");
  const int openWithSocket = test::OpenHandleCount();
  FClient.SetActive(false);
  EXPECT_FALSE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), openWithSocket - 1);

  FClient.SendText("two");
  EXPECT_TRUE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), openWithSocket);
  const auto one = FReceiver.Receive();
  const auto two = FReceiver.Receive();
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->Payload, "one");
  EXPECT_EQ(two->Payload, "two");
}

TEST_F(UDPClientTest, OversizedTextRaisesPackageSizeTooBigAndTheSocketStaysUsable) {
  const std::string tooLong(70000, 'x');
  const auto refused = test::Raised<EIdPackageSizeTooBig>([&] { FClient.SendText(tooLong); });
  ASSERT_TRUE(refused) << "an oversized datagram was accepted";
  EXPECT_EQ(refused->Message(), "Package Size Too Big.");
  EXPECT_TRUE(FClient.Active());
  FClient.SendText("short");
  const auto datagram = FReceiver.Receive();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(datagram->Payload, "short");
}

TEST_F(UDPClientTest, EmptyTextIsAZeroLengthDatagram) {
  FClient.SendText("");
  const auto datagram = FReceiver.Receive();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(datagram->Payload, "");
}

TEST_F(UDPClientTest, PortAbove65535SendsToItsLow16Bits) {
  FClient.SetPort(FReceiver.Port() + 65536);
  FClient.SendText("wrapped");
  const auto datagram = FReceiver.Receive();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(datagram->Payload, "wrapped");
}

TEST_F(UDPClientTest, LocalhostInAnyCaseIsSentToLoopback) {
  for (const char* host : {"localhost", "LOCALHOST", "LocalHost"}) {
    FClient.SetHost(host);
    FClient.SendText(host);
    const auto datagram = FReceiver.Receive();
    ASSERT_TRUE(datagram) << host;
    EXPECT_EQ(datagram->Payload, host);
  }
}

TEST_F(UDPClientTest, BroadcastOptionIsAppliedWhenTheSocketOpensAndAtOnceWhileOpen) {
  const int closed = test::OpenHandleCount();
  FClient.SetBroadcastEnabled(true);
  EXPECT_FALSE(FClient.Active());  // only stored while no socket is open
  EXPECT_EQ(test::OpenHandleCount(), closed);

  FClient.SendText("broadcast on");
  EXPECT_TRUE(BroadcastOptionSet());
  FClient.SetBroadcastEnabled(false);
  EXPECT_FALSE(BroadcastOptionSet());
  FClient.SetBroadcastEnabled(true);
  EXPECT_TRUE(BroadcastOptionSet());

  // A new socket gets the stored value again.
  FClient.SetActive(false);
  FClient.SetActive(true);
  EXPECT_TRUE(BroadcastOptionSet());
  ASSERT_TRUE(FReceiver.Receive());
}

TEST_F(UDPClientTest, ActivatingOpensOneSocketAtOnceAndRepeatingItDoesNothing) {
  const int closed = test::OpenHandleCount();
  FClient.SetActive(true);
  EXPECT_TRUE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), closed + 1);
  FClient.SetActive(true);
  EXPECT_EQ(test::OpenHandleCount(), closed + 1);
  EXPECT_FALSE(BroadcastOptionSet());
  FClient.SetActive(false);
  FClient.SetActive(false);
  EXPECT_EQ(test::OpenHandleCount(), closed);
}

TEST_F(UDPClientTest, UnresolvableHostFailsBeforeAnySocketIsOpened) {
  const int closed = test::OpenHandleCount();
  FClient.SetHost("no..such.host");
  const auto failure = test::Raised<EIdSocketError>([&] { FClient.SendText("lost"); });
  ASSERT_TRUE(failure) << "an unresolvable host was accepted";
  EXPECT_EQ(failure->SocketCode(), 11001);
  EXPECT_EQ(failure->Message(), "Socket Error # 11001\r\n");
  EXPECT_FALSE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), closed);
}

TEST_F(UDPClientTest, ChangedHostAndPortTakeEffectAtTheNextSend) {
  TLoopbackReceiver other;
  FClient.SendText("to first");
  FClient.SetPort(other.Port());
  FClient.SetHost("LOCALHOST");
  FClient.SendText("to second");
  const auto first = FReceiver.Receive();
  const auto second = other.Receive();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Payload, "to first");
  EXPECT_EQ(second->Payload, "to second");
  EXPECT_EQ(first->SenderPort, second->SenderPort);
}

TEST_F(UDPClientTest, ActivationWhileLoadingWaitsForTheEndOfLoading) {
  const int closed = test::OpenHandleCount();
  FClient.BeginLoading();
  FClient.SetActive(true);
  EXPECT_TRUE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), closed);
  FClient.EndLoading();
  EXPECT_TRUE(FClient.Active());
  EXPECT_EQ(test::OpenHandleCount(), closed + 1);
}

TEST_F(UDPClientTest, ClientHasTheDefaultsOfAUDPComponent) {
  EXPECT_EQ(FClient.BufferSize(), 8192);
  EXPECT_EQ(FClient.ReceiveTimeout(), -2);
  EXPECT_FALSE(FClient.BroadcastEnabled());
  TIdUDPClient fresh;
  EXPECT_EQ(fresh.Host(), "");
  EXPECT_EQ(fresh.Port(), 0);
}

TEST(SocketHandleTest, ClosingTwiceAndDestroyingAClosedHandleAreHarmless) {
  TIdUDPClient keepsTheStack;
  const int before = test::OpenHandleCount();
  {
    TIdSocketHandle handle;
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(handle.Socket(), Id_INVALID_SOCKET);
    handle.OpenSocket(2, 0);
    EXPECT_TRUE(handle.IsOpen());
    EXPECT_EQ(test::OpenHandleCount(), before + 1);
    handle.OpenSocket(2, 0);  // reopening closes the first socket
    EXPECT_EQ(test::OpenHandleCount(), before + 1);
    handle.Close();
    handle.Close();
    EXPECT_FALSE(handle.IsOpen());
  }
  EXPECT_EQ(test::OpenHandleCount(), before);
}

TEST(SocketHandleTest, RefusedSocketLeavesTheHandleClosed) {
  TIdUDPClient keepsTheStack;
  TIdSocketHandle handle;
  EXPECT_THROW(handle.OpenSocket(99, 0), EIdInvalidSocket);
  EXPECT_FALSE(handle.IsOpen());
}

}  // namespace
}  // namespace orvo
