#include "syslog/IdSysLogMessage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <sstream>
#include <thread>

#include "SyslogTestSupport.h"
#include "net/IdStack.h"
#include "net/IdUDPClient.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

using test::At;

class IdSysLogMessageTest : public test::FixedClockTest {
 protected:
  // The reference message: 5 March, 14:03:09.250, from 192.0.2.10, "app[1234]:hello".
  static void MakeReferenceMessage(TIdSysLogMessage& message) {
    message.SetHostname("192.0.2.10");
    message.Msg().SetPIDAvailable(true);
    message.Msg().SetPID(1234);
    message.Msg().SetProcess("app");
    message.Msg().SetContent("hello");
    message.SetTimeStamp(At(kYear, 3, 5, 14, 3, 9, 250));
  }
};

void ExpectPriIs(const TIdSysLogMessage& message, int pri, TIdSyslogFacility facility,
                 TIdSyslogSeverity severity) {
  EXPECT_EQ(message.Pri(), pri);
  EXPECT_EQ(message.Facility(), facility);
  EXPECT_EQ(message.Severity(), severity);
}

TEST_F(IdSysLogMessageTest, NewMessageHasTheDefaults) {
  const TIdSysLogMessage message;
  ExpectPriIs(message, 13, TIdSyslogFacility::sfUserLevel, TIdSyslogSeverity::slNotice);
  EXPECT_EQ(message.Hostname(), NewStack()->FirstLocalAddress());
  EXPECT_TRUE(message.TimeStamp().IsZero());
  EXPECT_EQ(message.Msg().Text(), "");
  EXPECT_FALSE(message.Msg().PIDAvailable());
  EXPECT_EQ(message.RawText(), "");
  EXPECT_EQ(message.MsgText(), "");
  EXPECT_EQ(message.PeerAddress(), "");
}

TEST_F(IdSysLogMessageTest, ConstructionLeavesTheSharedStackAsItFoundIt) {
  ASSERT_EQ(SharedStack(), nullptr);
  { const TIdSysLogMessage message; }
  EXPECT_EQ(SharedStack(), nullptr) << "the short-lived stack is released";

  std::unique_ptr<TIdStack> shared = NewStack();
  TIdStack* const installed = shared.get();
  EXPECT_EQ(ExchangeSharedStack(std::move(shared)), nullptr);
  { const TIdSysLogMessage message; }
  EXPECT_EQ(SharedStack(), installed) << "an existing shared stack is used and kept";
  EXPECT_EQ(ExchangeSharedStack(nullptr).get(), installed);
}

// Messages made on one thread while network components come and go on another: a component
// must neither take over nor free the stack a message made for itself, nor free the shared
// stack while a message reads it.
TEST_F(IdSysLogMessageTest, MessagesAndComponentsMadeOnTwoThreadsShareNoStackUnsafely) {
  ASSERT_EQ(SharedStack(), nullptr);
  constexpr int kMessages = 1000;
  constexpr int kMostComponents = 1000000;
  std::atomic<bool> messagesDone{false};
  std::thread components([&messagesDone] {
    for (int i = 0; i < kMostComponents && !messagesDone.load(); ++i)
      const TIdUDPClient client;
  });
  for (int i = 0; i < kMessages; ++i) {
    const TIdSysLogMessage message;
    EXPECT_FALSE(message.Hostname().empty());
  }
  messagesDone.store(true);
  components.join();
  EXPECT_EQ(SharedStack(), nullptr);
}

// The facility code of each facility, in the order of the facility type: UUCP (the ninth)
// has code 8 and the first clock daemon (the tenth) code 9.
constexpr int kFacilityCodes[kFacilityCount] = {0,  1,  2,  3,  4,  5,  6,  7,  9,  8,  10, 11,
                                                12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

TEST_F(IdSysLogMessageTest, FacilityCodesExchangeEightAndNine) {
  for (int ordinal = 0; ordinal < kFacilityCount; ++ordinal) {
    const auto facility = static_cast<TIdSyslogFacility>(ordinal);
    EXPECT_EQ(FacilityToCode(facility), kFacilityCodes[ordinal]) << ordinal;
    EXPECT_EQ(CodeToFacility(kFacilityCodes[ordinal]), facility) << ordinal;
  }
  EXPECT_EQ(FacilityToCode(TIdSyslogFacility::sfUUCP), 8);
  EXPECT_EQ(FacilityToCode(TIdSyslogFacility::sfClockDaemonOne), 9);
  EXPECT_EQ(FacilityToCode(TIdSyslogFacility::sfLocalUseSeven), 23);
}

TEST_F(IdSysLogMessageTest, PriFacilityAndSeverityStayInStep) {
  TIdSysLogMessage message;
  message.SetFacility(TIdSyslogFacility::sfUUCP);
  message.SetSeverity(TIdSyslogSeverity::slError);
  EXPECT_EQ(message.Pri(), 67);
  message.SetFacility(TIdSyslogFacility::sfClockDaemonOne);
  EXPECT_EQ(message.Pri(), 75);
  message.SetPri(67);
  ExpectPriIs(message, 67, TIdSyslogFacility::sfUUCP, TIdSyslogSeverity::slError);
  message.SetPri(191);
  ExpectPriIs(message, 191, TIdSyslogFacility::sfLocalUseSeven, TIdSyslogSeverity::slDebug);
  message.SetPri(0);
  ExpectPriIs(message, 0, TIdSyslogFacility::sfKernel, TIdSyslogSeverity::slEmergency);

  for (int ordinal = 0; ordinal < kFacilityCount; ++ordinal) {
    for (int severity = 0; severity < kSeverityCount; ++severity) {
      message.SetFacility(static_cast<TIdSyslogFacility>(ordinal));
      message.SetSeverity(static_cast<TIdSyslogSeverity>(severity));
      const int pri = message.Pri();
      ASSERT_EQ(pri, kFacilityCodes[ordinal] * 8 + severity);
      message.SetPri(pri == 0 ? 1 : 0);
      message.SetPri(pri);
      ASSERT_EQ(static_cast<int>(message.Facility()), ordinal);
      ASSERT_EQ(static_cast<int>(message.Severity()), severity);
    }
  }
}

TEST_F(IdSysLogMessageTest, PriOutOfRangeIsRefusedAndChangesNothing) {
  TIdSysLogMessage message;
  message.SetPri(67);
  for (const int bad : {192, 255, 9999, -1}) {
    const auto failure = test::Raised<EInvalidSyslogMessage>([&] { message.SetPri(bad); });
    ASSERT_TRUE(failure) << bad << " was taken";
    EXPECT_EQ(failure->Message(),
              "Invalid syslog message: incorrect PRI number \"" + std::to_string(bad) + "\"");
    ExpectPriIs(message, 67, TIdSyslogFacility::sfUUCP, TIdSyslogSeverity::slError);
  }
}

TEST_F(IdSysLogMessageTest, HostnameRefusesASpaceOnly) {
  TIdSysLogMessage message;
  message.SetHostname("host.example");
  const auto failure =
      test::Raised<EInvalidSyslogMessage>([&] { message.SetHostname("two words"); });
  ASSERT_TRUE(failure) << "a host name with a space was taken";
  EXPECT_EQ(failure->Message(),
            "Invalid host name. A SYSLOG host name cannot contain any space (\"two words\")+");
  EXPECT_EQ(message.Hostname(), "host.example");
  message.SetHostname("tab\there\r\n\xFF");
  EXPECT_EQ(message.Hostname(), "tab\there\r\n\xFF");
  message.SetHostname("");
  EXPECT_EQ(message.Hostname(), "");
}

TEST_F(IdSysLogMessageTest, EncodesTheReferenceMessageByteForByte) {
  TIdSysLogMessage message;
  MakeReferenceMessage(message);
  const std::string text = message.EncodeText();
  EXPECT_EQ(text, "<13>Mar  5 14:03:09 192.0.2.10 app[1234]:hello");
  EXPECT_EQ(text.size(), 46u);
  EXPECT_EQ(message.TimeStamp(), At(kYear, 3, 5, 14, 3, 9, 250)) << "a current-year stamp stays";
  EXPECT_EQ(message.RawText(), "") << "encoding is no parse";
  EXPECT_EQ(message.BuildHeader(), "Mar  5 14:03:09 192.0.2.10");
}

TEST_F(IdSysLogMessageTest, RendersEveryMonthAndPadsTheDay) {
  TIdSysLogMessage message;
  message.SetHostname("h");
  message.Msg().SetText("m");
  const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int month = 1; month <= 12; ++month) {
    message.SetTimeStamp(At(kYear, month, 15, 23, 59, 59));
    EXPECT_EQ(message.EncodeText(), "<13>" + std::string(months[month - 1]) + " 15 23:59:59 h m");
  }
  message.SetTimeStamp(At(kYear, 1, 5));
  EXPECT_EQ(message.EncodeText(), "<13>Jan  5 00:00:00 h m");
  message.SetTimeStamp(At(kYear, 1, 9, 14, 3, 9, 999));
  EXPECT_EQ(message.EncodeText(), "<13>Jan  9 14:03:09 h m") << "milliseconds are dropped";
  message.SetTimeStamp(At(kYear, 1, 10, 1, 2, 3));
  EXPECT_EQ(message.EncodeText(), "<13>Jan 10 01:02:03 h m");
}

TEST_F(IdSysLogMessageTest, StampOfAnotherYearIsReplacedByNow) {
  SetNow(At(kYear + 1, 1, 1, 0, 0, 0, 500));
  TIdSysLogMessage message;
  message.SetHostname("h");
  message.SetTimeStamp(At(kYear, 12, 31, 23, 59, 59));
  EXPECT_EQ(message.EncodeText(), "<13>Jan  1 00:00:00 h ");
  EXPECT_EQ(message.TimeStamp(), At(kYear + 1, 1, 1, 0, 0, 0, 500)) << "the message keeps now";

  message.SetTimeStamp(At(kYear + 2, 7, 1));
  EXPECT_EQ(message.BuildHeader(), "Jan  1 00:00:00 h") << "a later year is replaced too";
}

TEST_F(IdSysLogMessageTest, NewMessageIsStampedWhenEncoded) {
  TIdSysLogMessage message;
  const std::string text = message.EncodeText();
  EXPECT_EQ(text, "<13>Jun 15 12:00:00 " + message.Hostname() + " ")
      << "ends with the separator after the host name";
  EXPECT_EQ(message.TimeStamp(), At(kYear, 6, 15, 12));
}

TEST_F(IdSysLogMessageTest, EmptyHostnameLeavesTwoSpaces) {
  TIdSysLogMessage message;
  MakeReferenceMessage(message);
  message.SetHostname("");
  EXPECT_EQ(message.EncodeText(), "<13>Mar  5 14:03:09  app[1234]:hello");
}

TEST_F(IdSysLogMessageTest, TextIsCutToItsFirst1024Bytes) {
  TIdSysLogMessage message;
  MakeReferenceMessage(message);
  const std::string head = "<13>Mar  5 14:03:09 192.0.2.10 app[1234]:";
  for (const std::size_t contentLength : {0u, 983u, 984u, 985u, 2000u, 70000u}) {
    std::string content(contentLength, 'x');
    for (std::size_t i = 0; i < content.size(); ++i)
      content[i] = static_cast<char>('a' + i % 26);
    message.Msg().SetContent(content);
    const std::string full = head + content;
    const std::string encoded = message.EncodeText();
    EXPECT_EQ(encoded, full.substr(0, 1024)) << contentLength;
    // A MSG part of hundreds of megabytes must not be copied whole before the cut.
    EXPECT_LE(encoded.capacity(), 2048u) << contentLength;
  }
  std::string longHost(1100, 'h');
  message.SetHostname(longHost);
  EXPECT_EQ(message.EncodeText(), "<13>Mar  5 14:03:09 " + longHost.substr(0, 1004))
      << "the cut may fall inside the header";
}

// The year rule compares with the time handed in and, when the years differ, takes it.
TEST_F(IdSysLogMessageTest, EncodingIntoABufferAppliesTheYearRuleToTheGivenTime) {
  TIdSysLogMessage message;
  message.SetHostname("h");
  message.Msg().SetText("m");
  std::string buffer;
  message.SetTimeStamp(At(kYear, 12, 31, 23, 59, 59));
  message.EncodeTextInto(buffer, At(kYear + 1, 1, 1, 0, 0, 0, 500));
  EXPECT_EQ(buffer, "<13>Jan  1 00:00:00 h m");
  EXPECT_EQ(message.TimeStamp(), At(kYear + 1, 1, 1, 0, 0, 0, 500));

  message.SetTimeStamp(At(kYear, 2, 3, 4, 5, 6));
  message.EncodeTextInto(buffer, At(kYear, 12, 31, 23, 59, 59));
  EXPECT_EQ(buffer, "<13>Feb  3 04:05:06 h m") << "a stamp of the given year stays";
  EXPECT_EQ(message.TimeStamp(), At(kYear, 2, 3, 4, 5, 6));
}

TEST_F(IdSysLogMessageTest, AssignTakesPriHostTextAndTime) {
  TIdSysLogMessage source;
  MakeReferenceMessage(source);
  source.SetPri(75);
  TIdSysLogMessage target;
  target.Msg().SetPIDAvailable(false);
  target.ParseText("<1>raw");
  target.Assign(source);
  ExpectPriIs(target, 75, TIdSyslogFacility::sfClockDaemonOne, TIdSyslogSeverity::slError);
  EXPECT_EQ(target.Hostname(), "192.0.2.10");
  EXPECT_EQ(target.Msg().Text(), "app[1234]:hello");
  EXPECT_EQ(target.TimeStamp(), source.TimeStamp());
  EXPECT_FALSE(target.Msg().PIDAvailable());
  EXPECT_EQ(target.RawText(), "<1>raw");
  EXPECT_EQ(target.MsgText(), "raw");
}

TEST_F(IdSysLogMessageTest, AssignOfAHostWithASpaceChangesNothing) {
  TIdSysLogMessage source;
  std::istringstream datagram("not a syslog text");
  source.SetPri(191);
  source.LoadFromDatagram(datagram, 17, "peer with space");
  ASSERT_EQ(source.Hostname(), "peer with space") << "a parse stores the peer untested";
  TIdSysLogMessage target;
  MakeReferenceMessage(target);
  EXPECT_THROW(target.Assign(source), EInvalidSyslogMessage);
  EXPECT_EQ(target.Pri(), 13);
  EXPECT_EQ(target.Hostname(), "192.0.2.10");
  EXPECT_EQ(target.Msg().Text(), "app[1234]:hello");
}

TEST_F(IdSysLogMessageTest, MsgWriteCopiesTheTextIntoTheOwnedPart) {
  TIdSysLogMessage message;
  TIdSysLogMsgPart* const owned = &message.Msg();
  TIdSysLogMsgPart part;
  part.SetPIDAvailable(true);
  part.SetText("tag: words");
  message.SetMsg(part);
  EXPECT_EQ(&message.Msg(), owned);
  EXPECT_EQ(message.Msg().Text(), "tag: words");
  EXPECT_FALSE(message.Msg().PIDAvailable());
}

// Generated messages come back from their own text with the same priority, time to the second,
// host name and MSG part.
TEST_F(IdSysLogMessageTest, EncodedMessagesParseBackToTheirFields) {
  std::mt19937 random(20261207);
  const auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto printable = [&](int length, bool spaces) {
    std::string text;
    while (static_cast<int>(text.size()) < length) {
      const char c = static_cast<char>(pick(32, 126));
      if (spaces || c != ' ')
        text += c;
    }
    return text;
  };
  static constexpr char kAlnum[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  TIdSysLogMessage sent;
  TIdSysLogMessage received;
  for (int round = 0; round < 2000; ++round) {
    sent.SetFacility(static_cast<TIdSyslogFacility>(pick(0, kFacilityCount - 1)));
    sent.SetSeverity(static_cast<TIdSyslogSeverity>(pick(0, kSeverityCount - 1)));
    sent.SetHostname(printable(pick(0, 40), false));
    sent.Msg().SetText("");
    sent.Msg().SetPIDAvailable(pick(0, 1) == 1);
    sent.Msg().SetPID(pick(-1, 99999));
    std::string tag;
    for (int i = pick(0, 12); i > 0; --i)
      tag += kAlnum[pick(0, sizeof kAlnum - 2)];
    sent.Msg().SetProcess(tag);
    sent.Msg().SetContent(printable(pick(0, 300), true));
    const int month = pick(1, 12);
    sent.SetTimeStamp(At(kYear, month, pick(1, datetime::DaysInMonth(kYear, month)), pick(0, 23),
                         pick(0, 59), pick(0, 59), pick(0, 999)));

    received.ParseText(sent.EncodeText());

    ASSERT_EQ(received.Pri(), sent.Pri());
    ASSERT_EQ(received.Facility(), sent.Facility());
    ASSERT_EQ(received.Severity(), sent.Severity());
    ASSERT_EQ(received.TimeStamp().Milliseconds(),
              sent.TimeStamp().Milliseconds() - sent.TimeStamp().Milliseconds() % 1000);
    ASSERT_EQ(received.Hostname(), sent.Hostname());
    ASSERT_EQ(received.Msg().Text(), sent.Msg().Text());
    ASSERT_EQ(received.Msg().Process(), tag);
  }
}

}  // namespace
}  // namespace orvo
