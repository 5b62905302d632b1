#include "net/IdUDPClient.h"

#include <gtest/gtest.h>

#include <string>

#include "LoopbackReceiver.h"
#include "net/IdStack.h"

namespace orvo {
namespace {

using test::TLoopbackReceiver;

class UDPClientTest : public ::testing::Test {
 protected:
  UDPClientTest() {
    FClient.SetHost("127.0.0.1");
    FClient.SetPort(FReceiver.Port());
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
  const int openWithSocket = test::OpenDescriptorCount();
  FClient.SetActive(false);
  EXPECT_FALSE(FClient.Active());
  EXPECT_EQ(test::OpenDescriptorCount(), openWithSocket - 1);

  FClient.SendText("two");
  EXPECT_TRUE(FClient.Active());
  EXPECT_EQ(test::OpenDescriptorCount(), openWithSocket);
  const auto one = FReceiver.Receive();
  const auto two = FReceiver.Receive();
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->Payload, "one");
  EXPECT_EQ(two->Payload, "two");
}

TEST_F(UDPClientTest, OversizedTextRaisesPackageSizeTooBigAndTheSocketStaysUsable) {
  const std::string tooLong(70000, 'x');
  try {
    FClient.SendText(tooLong);
    FAIL() << "an oversized datagram was accepted";
  } catch (const EIdPackageSizeTooBig& e) {
    EXPECT_EQ(e.Message(), "Package Size Too Big.");
  }
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

}  // namespace
}  // namespace orvo
