#include "syslog/IdSysLog.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "SyslogTestSupport.h"
#include "tests/support/LoopbackReceiver.h"

namespace orvo {
namespace {

using test::At;

class IdSysLogTest : public test::FixedClockTest {
 protected:
  void SetUp() override {
    FixedClockTest::SetUp();
    FSender.SetHost("127.0.0.1");
    FSender.SetPort(FReceiver.Port());
    FMessage.SetHostname("sender");
    FMessage.Msg().SetPIDAvailable(true);
    FMessage.Msg().SetPID(4321);
    FMessage.Msg().SetProcess("orvo");
    FMessage.Msg().SetContent("line");
  }

  std::string NextDatagram() {
    const auto datagram = FReceiver.Receive();
    return datagram ? datagram->Payload : "(nothing arrived)";
  }

  test::TLoopbackReceiver FReceiver;
  TIdSysLog FSender;
  TIdSysLogMessage FMessage;
};

TEST(IdSysLogPortTest, NewSenderUsesTheSyslogPort) {
  const TIdSysLog sender;
  EXPECT_EQ(sender.Port(), 514);
  EXPECT_EQ(sender.Host(), "");
}

TEST_F(IdSysLogTest, TwoSendsOfOneMessageDifferOnlyInTheTime) {
  SetNow(At(kYear, 6, 15, 12, 0, 0, 100));
  FSender.SendSyslogMessage(FMessage, true);
  const auto first = FReceiver.Receive();
  SetNow(At(kYear, 6, 15, 12, 0, 1, 900));
  FSender.SendSyslogMessage(FMessage, true);
  const auto second = FReceiver.Receive();
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->Payload, "<13>Jun 15 12:00:00 sender orvo[4321]:line");
  EXPECT_EQ(second->Payload, "<13>Jun 15 12:00:01 sender orvo[4321]:line");
  EXPECT_EQ(first->SenderPort, second->SenderPort) << "both leave through one socket";
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 6, 15, 12, 0, 1, 900)) << "the message keeps its stamp";
}

TEST_F(IdSysLogTest, WithoutStampingACurrentYearStampIsSentAsItIs) {
  FMessage.SetTimeStamp(At(kYear, 2, 3, 4, 5, 6, 7));
  FSender.SendSyslogMessage(FMessage, false);
  EXPECT_EQ(NextDatagram(), "<13>Feb  3 04:05:06 sender orvo[4321]:line");
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 2, 3, 4, 5, 6, 7));

  FMessage.SetTimeStamp(TDateTime());
  FSender.SendSyslogMessage(FMessage, false);
  EXPECT_EQ(NextDatagram(), "<13>Jun 15 12:00:00 sender orvo[4321]:line")
      << "a zero stamp becomes the time of encoding";
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 6, 15, 12));
}

TEST_F(IdSysLogTest, OversizeTextIsSentAsItsFirst1024Bytes) {
  std::string content(3000, '.');
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<char>('0' + i % 10);
  FMessage.Msg().SetContent(content);
  FSender.SendSyslogMessage(FMessage, true);
  const std::string expected = "<13>Jun 15 12:00:00 sender orvo[4321]:" + content;
  EXPECT_EQ(NextDatagram(), expected.substr(0, 1024));
}

// The sender keeps one buffer for the datagram text: a short message after a long one carries
// nothing of it.
TEST_F(IdSysLogTest, EachDatagramCarriesOnlyItsOwnMessage) {
  const std::pair<std::string, std::string> sends[] = {
      {std::string(3000, 'L'), "<13>Jun 15 12:00:00 sender orvo[4321]:" + std::string(986, 'L')},
      {"short", "<13>Jun 15 12:00:00 sender orvo[4321]:short"},
      {"", "<13>Jun 15 12:00:00 sender orvo[4321]:"},
      {"again", "<13>Jun 15 12:00:00 sender orvo[4321]:again"},
  };
  for (const auto& [content, expected] : sends) {
    FMessage.Msg().SetContent(content);
    FSender.SendSyslogMessage(FMessage, true);
    EXPECT_EQ(NextDatagram(), expected) << content.size();
    EXPECT_EQ(FSender.LastDatagram(), expected) << "the sender tells the text it sent";
  }
}

// Across the turn of a year the stamp of the send is the time the datagram carries.
TEST_F(IdSysLogTest, StampingOnNewYearsEveKeepsTheStamp) {
  SetNow(At(kYear, 12, 31, 23, 59, 59, 999));
  FSender.SendSyslogMessage(FMessage, true);
  EXPECT_EQ(NextDatagram(), "<13>Dec 31 23:59:59 sender orvo[4321]:line");
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 12, 31, 23, 59, 59, 999));
}

TEST_F(IdSysLogTest, SendFailureReachesTheCallerAndTheStampStays) {
  FSender.SetHost("no..such.host");
  SetNow(At(kYear, 8, 1, 9, 30));
  EXPECT_THROW(FSender.SendSyslogMessage(FMessage, true), EIdException);
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 8, 1, 9, 30));
  EXPECT_FALSE(FReceiver.Receive(std::chrono::milliseconds(200)).has_value());
}

}  // namespace
}  // namespace orvo
