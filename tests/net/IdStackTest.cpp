#include "net/IdStack.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/Text.h"
#include "net/IdWinSock2.h"
#include "tests/net/StackFixture.h"
#include "tests/support/LoopbackReceiver.h"
#include "tests/support/Platform.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

using namespace test;

class StackTest : public TStackFixture {};

TEST_F(StackTest, ErrorTextsNumberTheCodeAndGiveTheTableText) {
  const std::pair<std::int32_t, const char*> texts[] = {
      {10004, "Interrupted system call."},
      {10009, "Bad file number."},
      {10013, "Access denied."},
      {10014, "Bad address."},
      {10022, "Invalid argument."},
      {10024, "Too many open files."},
      {10035, "Operation would block. "},
      {10036, "Operation now in progress."},
      {10037, "Operation already in progress."},
      {10038, "Socket operation on non-socket."},
      {10039, "Destination address required."},
      {10040, "Message too long."},
      {10041, "Protocol wrong type for socket."},
      {10042, "Bad protocol option."},
      {10043, "Protocol not supported."},
      {10044, "Socket type not supported."},
      {10045, "Operation not supported on socket."},
      {10046, "Protocol family not supported."},
      {10047, "Address family not supported by protocol family."},
      {10048, "Address already in use."},
      {10049, "Cannot assign requested address."},
      {10050, "Network is down."},
      {10051, "Network is unreachable."},
      {10052, "Net dropped connection or reset."},
      {10053, "Software caused connection abort."},
      {10054, "Connection reset by peer."},
      {10055, "No buffer space available."},
      {10056, "Socket is already connected."},
      {10057, "Socket is not connected."},
      {10058, "Cannot send or receive after socket is closed."},
      {10059, "Too many references, cannot splice."},
      {10060, "Connection timed out."},
      {10061, "Connection refused."},
      {10062, "Too many levels of symbolic links."},
      {10063, "File name too long."},
      {10064, "Host is down."},
      {10065, "No route to host."},
      {10066, "Directory not empty"}};
  for (const auto& [code, text] : texts) {
    EXPECT_EQ(FStack.SocketErrorText(code),
              "Socket Error # " + std::to_string(code) + "\r\n" + text);
  }
  for (const std::int32_t code : {0, -1, 10003, 10005, 10067, 10093, 11001, 11004}) {
    EXPECT_EQ(FStack.SocketErrorText(code), "Socket Error # " + std::to_string(code) + "\r\n");
  }
}

TEST_F(StackTest, PlatformErrorsArriveInWinSockNumbering) {
  if (test::kOnWindows)
    GTEST_SKIP()
        << "a descriptor number is the POSIX adapter's; Windows reports 10038, not a socket";
  // A descriptor number no process has open.
  const auto badHandle = test::Raised<EIdSocketError>(
      [&] { FStack.CheckSocketResult(FStack.SockSendTo(1 << 20, "x", 1, 0, kLoopback, 9)); });
  ASSERT_TRUE(badHandle);
  EXPECT_EQ(badHandle->SocketCode(), 10009);

  const TIdStackSocketHandle unconnected = OpenSocket();
  const auto notConnected = test::Raised<EIdSocketError>(
      [&] { FStack.CheckSocketResult(FStack.SockShutdown(unconnected, 1)); });
  ASSERT_TRUE(notConnected);
  EXPECT_EQ(notConnected->Message(), "Socket Error # 10057\r\nSocket is not connected.");
  EXPECT_EQ(FStack.LastCode(), 10057);
}

TEST_F(StackTest, NewSocketOpensIPv4SocketsAndReportsARefusal) {
  const TIdStackSocketHandle socket = OpenSocket();
  EXPECT_GE(socket, 0);
  const auto refused = test::Raised<EIdInvalidSocket>([&] { FStack.NewSocket(99); });
  ASSERT_TRUE(refused) << "a socket of an unknown type was made";
  EXPECT_EQ(refused->Message(), "Cannot allocate socket.");
}

TEST_F(StackTest, DottedAddressesHaveFourFieldsFrom0To255) {
  for (const char* text :
       {"10.0.0.1", "010.0.0.001", "  10.0.0.1", "$0A.0.0.1", "-0.0.0.0", "+1.2.3.4", "0x7F.0.0.1",
        "255.255.255.255", "0000.1.2.3", "0.0.0.0", "1.2.3.0x10"}) {
    EXPECT_TRUE(FStack.IsDottedAddress(text)) << text;
  }
  for (const char* text :
       {"", "...", "10.0.0", "10.0.0.1.5", "10.0.0.256", "10..0.1", "10.0.0.1 ", "1.2.3",
        "256.1.1.1", "a.b.c.d", "-1.0.0.0", "1.2.3.4.", "1.2..3", "1.2.3.4 "}) {
    EXPECT_FALSE(FStack.IsDottedAddress(text)) << text;
  }
}

TEST_F(StackTest, ResolveAddressKnowsLocalhostAndDottedTextsWithoutALookup) {
  for (const char* host : {"localhost", "LOCALHOST", "LocalHost"}) {
    EXPECT_EQ(FStack.ResolveAddress(host), "127.0.0.1") << host;
  }
  for (const char* host : {"192.168.0.1", "010.000.000.001", "0x7F.0.0.1"}) {
    EXPECT_EQ(FStack.ResolveAddress(host), host);
  }
  // Not a dotted address for the stack, so the resolver reads it (as 1.2.0.3).
  EXPECT_EQ(FStack.ResolveAddress("1.2.3"), "1.2.0.3");
}

// A send resolves its host with the bytes it has read along with the text.
TEST_F(StackTest, ResolvedAddressesCarryTheBytesTheyRead) {
  const struct {
    std::string Host;
    std::string Text;
    TIdIn4Addr Bytes;
  } rows[] = {
      {"localhost", "127.0.0.1", {127, 0, 0, 1}},
      {"LocalHost", "127.0.0.1", {127, 0, 0, 1}},
      {"192.168.0.1", "192.168.0.1", {192, 168, 0, 1}},
      {"010.000.000.001", "010.000.000.001", {10, 0, 0, 1}},
      {"0x7F.0.0.1", "0x7F.0.0.1", {127, 0, 0, 1}},
      {"127.0.0.+1", "127.0.0.+1", {127, 0, 0, 1}},
      {" 1.2.3.4", " 1.2.3.4", {1, 2, 3, 4}},
      {"$0A.0.0.255", "$0A.0.0.255", {10, 0, 0, 255}},
  };
  for (const auto& row : rows) {
    const TIdDottedAddress address = FStack.ResolveDottedAddress(row.Host);
    EXPECT_EQ(address.Text, row.Text);
    EXPECT_EQ(address.Bytes, row.Bytes) << row.Host;
  }
  // A name is the resolver's answer, read again when the record is built.
  const std::string name = FStack.SockHostName();
  const TIdDottedAddress named = FStack.ResolveDottedAddress(name);
  EXPECT_EQ(named.Text, FStack.SockHostByName(name));
  EXPECT_EQ(named.Bytes, std::nullopt);
}

// The empty host goes to the resolver, which answers it with the local host, as WinSock does.
TEST_F(StackTest, AnEmptyHostIsTheLocalHost) {
  EXPECT_EQ(FStack.ResolveDottedAddress("").Text, FStack.FirstLocalAddress());
}

TEST_F(StackTest, UnknownNamesRaiseTheResolversCode) {
  // A name with an empty label: the resolver refuses it without asking any name server.
  const auto error = test::Raised<EIdSocketError>([&] { FStack.ResolveAddress("no..such.host"); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->SocketCode(), 11001);
  EXPECT_EQ(error->Message(), "Socket Error # 11001\r\n");
  EXPECT_EQ(FStack.LastCode(), 11001);
}

TEST_F(StackTest, AddressTextsAndValues) {
  EXPECT_EQ(FStack.AddressToText({0, 0, 0, 0}), "0.0.0.0");
  EXPECT_EQ(FStack.AddressToText({255, 255, 255, 255}), "255.255.255.255");
  EXPECT_EQ(FStack.AddressToText({192, 168, 0, 1}), "192.168.0.1");

  TIdIn4Addr bytes{};
  FStack.TextToAddress("1.2.3.4.5", bytes);
  EXPECT_EQ(bytes, (TIdIn4Addr{1, 2, 3, 4}));
  FStack.TextToAddress("0x7F.300.-1.010", bytes);
  EXPECT_EQ(bytes, (TIdIn4Addr{127, 44, 255, 10}));
  EXPECT_THROW(FStack.TextToAddress("1.x.3.4", bytes), EConvertError);

  const std::uint32_t value = FStack.AddressOf("192.168.0.1");
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&value)[0], 192);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&value)[3], 1);
  // Network order is the bytes' order in memory, whatever the processor's.
  const std::uint16_t port = FStack.SockHostToNetShort(0x0102);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&port)[0], 0x01);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(&port)[1], 0x02);
}

TEST_F(StackTest, LocalAddressesAreResolvedAfreshOnEveryCall) {
  const std::string host = FStack.SockHostName();
  EXPECT_FALSE(host.empty());
  const std::size_t count = FStack.LocalAddressList().size();
  ASSERT_GT(count, 0u);
  EXPECT_EQ(FStack.LocalAddressList().size(), count);
  const std::string first = FStack.FirstLocalAddress();
  EXPECT_TRUE(FStack.IsDottedAddress(first)) << first;
  EXPECT_EQ(first, FStack.LocalAddressList().front());
  EXPECT_EQ(FStack.SockHostByName(host), first);
}

TEST_F(StackTest, SocketOptionsUseWinSockNumbers) {
  const TIdStackSocketHandle socket = OpenSocket();
  const std::int32_t on = -1;
  EXPECT_EQ(FStack.SockSetOption(socket, kSocketLevel, kBroadcast, &on, 4), 0);
  const std::int32_t unknownOption = 0x7777;
  EXPECT_EQ(FStack.SockSetOption(socket, kSocketLevel, unknownOption, &on, 4), -1);
  EXPECT_EQ(FStack.SockLastError(), 10042);
}

// What WinSock refuses the adapter still refuses, with WinSock's codes.
TEST_F(StackTest, SendToChecksTheRecordAndTheFlagsAsWinSockDoes) {
  if (test::kOnWindows)
    GTEST_SKIP() << "these are the POSIX adapter's own checks of the record and the flags";
  test::TLoopbackReceiver receiver;
  const TIdStackSocketHandle socket = OpenSocket();
  ws2::TSockAddrIn record{};
  record.sin_family = 2;
  record.sin_port = FStack.SockHostToNetShort(receiver.Port());
  const TIdIn4Addr loopback{127, 0, 0, 1};
  std::memcpy(record.sin_addr, loopback.data(), loopback.size());
  // WinSock does not read the last eight bytes, whatever they hold.
  std::memset(record.sin_zero, 0xAB, sizeof(record.sin_zero));
  EXPECT_EQ(ws2::sendto(socket, "any zeros", 9, 0, &record, 16), 9);
  std::optional<test::TDatagram> datagram = receiver.Receive();
  ASSERT_TRUE(datagram);
  EXPECT_EQ(datagram->Payload, "any zeros");

  EXPECT_EQ(ws2::sendto(socket, "x", 1, 0, &record, 15), -1);
  EXPECT_EQ(FStack.SockLastError(), 10014);
  EXPECT_EQ(ws2::sendto(socket, "x", 1, 0x1, &record, 16), -1);  // out of band: none on UDP
  EXPECT_EQ(FStack.SockLastError(), 10045);
  record.sin_family = 23;  // IPv6
  EXPECT_EQ(ws2::sendto(socket, "x", 1, 0, &record, 16), -1);
  EXPECT_EQ(FStack.SockLastError(), 10047);
  EXPECT_FALSE(receiver.Receive(std::chrono::milliseconds(50)));
}

TEST_F(StackTest, SelectRefusesMoreThan64Sockets) {
  std::vector<TIdStackSocketHandle> tooMany(65, 0);
  const auto refused = test::Raised<EIdStackSetSizeExceeded>(
      [&] { FStack.SockSelect(&tooMany, nullptr, nullptr, 0); });
  ASSERT_TRUE(refused) << "65 sockets were accepted";
  EXPECT_EQ(refused->Message(), "Set Size Exceeded.");
}

}  // namespace
}  // namespace orvo
