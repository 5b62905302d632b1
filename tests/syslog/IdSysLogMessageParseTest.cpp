#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "SyslogTestSupport.h"
#include "syslog/IdSysLogMessage.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

using test::At;

constexpr char kReferenceMessage[] = "<13>Mar  5 14:03:09 192.0.2.10 app[1234]:hello";
constexpr char kPeer[] = "198.51.100.7";

class IdSysLogMessageParseTest : public test::FixedClockTest {
 protected:
  void Load(std::string_view datagram) {
    std::istringstream stream{std::string(datagram)};
    FMessage.LoadFromDatagram(stream, static_cast<std::int64_t>(datagram.size()), kPeer);
  }

  // The defaults of a header that does not read: now, and the peer as host name.
  void ExpectHeaderFellBack() const {
    EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 6, 15, 12));
    EXPECT_EQ(FMessage.Hostname(), kPeer);
  }

  std::string TimeStampError(std::string_view text) const {
    const auto failure =
        test::Raised<EInvalidSyslogMessage>([&] { (void)FMessage.ParseTimeStamp(text); });
    return failure ? failure->Message() : "no error";
  }

  TIdSysLogMessage FMessage;
};

TEST_F(IdSysLogMessageParseTest, ReadsTheReferenceMessage) {
  FMessage.SetPri(0);
  Load(kReferenceMessage);
  EXPECT_EQ(FMessage.Pri(), 13);
  EXPECT_EQ(FMessage.Facility(), TIdSyslogFacility::sfUserLevel);
  EXPECT_EQ(FMessage.Severity(), TIdSyslogSeverity::slNotice);
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 3, 5, 14, 3, 9));
  EXPECT_EQ(FMessage.Hostname(), "192.0.2.10");
  EXPECT_EQ(FMessage.Msg().Text(), "app[1234]:hello");
  EXPECT_EQ(FMessage.Msg().Process(), "app");
  EXPECT_EQ(FMessage.Msg().PID(), 1234);
  EXPECT_EQ(FMessage.Msg().Content(), "hello");
  EXPECT_EQ(FMessage.MsgText(), "app[1234]:hello");
  EXPECT_EQ(FMessage.RawText(), kReferenceMessage);
  EXPECT_EQ(FMessage.PeerAddress(), kPeer);
}

TEST_F(IdSysLogMessageParseTest, TextWithoutPriGetsEveryDefault) {
  FMessage.SetPri(0);
  Load("hello");
  EXPECT_EQ(FMessage.Pri(), 13);
  ExpectHeaderFellBack();
  EXPECT_EQ(FMessage.Msg().Text(), "hello");
  Load("");
  EXPECT_EQ(FMessage.Pri(), 13);
  ExpectHeaderFellBack();
  EXPECT_EQ(FMessage.Msg().Text(), "");
}

TEST_F(IdSysLogMessageParseTest, InvalidPriSectionLeavesTheWholeTextToTheMsgPart) {
  for (const std::string pri : {"<>", "<1a>", "<12345>", "<192>", "<9999>", "<13", "<", "<-1>",
                                "<+1>", "< 1>", "<1 >", "<\xB1>", "<1\xB3>"}) {
    const std::string text = pri + "Mar  5 14:03:09 host tag: words";
    FMessage.SetPri(0);
    Load(text);
    EXPECT_EQ(FMessage.Pri(), 13) << pri;
    ExpectHeaderFellBack();
    EXPECT_EQ(FMessage.Msg().Text(), text) << pri;
  }
}

TEST_F(IdSysLogMessageParseTest, ParsePriMovesPastAValidSectionOnly) {
  for (const auto& [text, pri, end] :
       std::vector<std::tuple<std::string, int, std::size_t>>{{"<0013>x", 13, 6},
                                                              {"<0>", 0, 3},
                                                              {"<191>", 191, 5},
                                                              {"<75>", 75, 4},
                                                              {"<00000>", 13, 0},
                                                              {"x<13>", 13, 0}}) {
    FMessage.SetPri(1);
    FMessage.ParseText(text);
    EXPECT_EQ(FMessage.Pri(), pri) << text;
    std::size_t position = 0;
    FMessage.ParsePri(position);
    EXPECT_EQ(position, end) << text;
  }
  FMessage.ParseText("ab<13>");
  std::size_t position = 2;
  FMessage.ParsePri(position);
  EXPECT_EQ(position, 6u) << "a section may begin where the position stands";
  position = 20;
  FMessage.ParsePri(position);
  EXPECT_EQ(position, 20u) << "past the end there is no section";
}

TEST_F(IdSysLogMessageParseTest, ValidPriWithBadTimeStampKeepsThePri) {
  Load("<34>garbage text here");
  EXPECT_EQ(FMessage.Pri(), 34);
  ExpectHeaderFellBack();
  EXPECT_EQ(FMessage.Msg().Text(), "garbage text here");
  Load("<34>Mar  5 14:03:09");
  EXPECT_EQ(FMessage.Pri(), 34);
  ExpectHeaderFellBack();
  EXPECT_EQ(FMessage.Msg().Text(), "Mar  5 14:03:09") << "15 characters are no time stamp";
}

TEST_F(IdSysLogMessageParseTest, TimeStampToleratesCaseDayFormsAndAnySeparators) {
  Load("<13>mAR 05 14:03:09 h x");
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 3, 5, 14, 3, 9));
  Load("<13>DEC-31T23.59x59 h x");
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 12, 31, 23, 59, 59));
  Load("<13>Jan  1 aa: 0:\t5 h x");
  EXPECT_EQ(FMessage.TimeStamp(), At(kYear, 1, 1, 0, 0, 5)) << "no number counts as 0";
  EXPECT_EQ(FMessage.Hostname(), "h");
}

TEST_F(IdSysLogMessageParseTest, HostNameRunsToTheNextSpaceOrTheEnd) {
  Load("<13>Mar  5 14:03:09 lonelyhost");
  EXPECT_EQ(FMessage.Hostname(), "lonelyhost");
  EXPECT_EQ(FMessage.Msg().Text(), "");
  Load("<13>Mar  5 14:03:09 host ");
  EXPECT_EQ(FMessage.Hostname(), "host");
  EXPECT_EQ(FMessage.Msg().Text(), "");
  Load("<13>Mar  5 14:03:09  two  spaces");
  EXPECT_EQ(FMessage.Hostname(), "");
  EXPECT_EQ(FMessage.Msg().Text(), "two  spaces");
  Load("<13>Mar  5 14:03:09 ");
  EXPECT_EQ(FMessage.Hostname(), "");
  EXPECT_EQ(FMessage.Msg().Text(), "");
}

TEST_F(IdSysLogMessageParseTest, BytesAbove127AreMaskedInTheHeaderOnly) {
  Load("<13>Mar  5 14:03:09 h\xF6st\x80 t\xE4g: \xFF\x80");
  EXPECT_EQ(FMessage.Hostname(), "h?st?");
  EXPECT_EQ(FMessage.Msg().Text(), "t\xE4g: \xFF\x80");
  EXPECT_EQ(TimeStampError("M\xE4r  5 14:03:09 "),
            "Invalid syslog message: incorrect timestamp \"M?r  5 14:03:09 \"");
  EXPECT_EQ(FMessage.ParseTimeStamp("Mar\xA0 5\xA0"
                                    "14\xA0"
                                    "03\xA0"
                                    "09 "),
            At(kYear, 3, 5, 14, 3, 9));
  std::string text = "a\x7F\x80\xFFz";
  FMessage.MaskNonAscii(text);
  EXPECT_EQ(text, "a\x7F??z");
}

TEST_F(IdSysLogMessageParseTest, TimeStampLandsInTheCurrentYear) {
  SetNow(At(kYear + 1, 1, 1, 0, 0, 1));
  EXPECT_EQ(FMessage.ParseTimeStamp("Dec 31 23:59:59 "), At(kYear + 1, 12, 31, 23, 59, 59));
  SetNow(At(2028, 7, 1));
  EXPECT_EQ(FMessage.ParseTimeStamp("Feb 29 00:00:00 "), At(2028, 2, 29));
}

TEST_F(IdSysLogMessageParseTest, TimeStampFailuresNameTheText) {
  for (const std::string bad :
       {"Mar  5 14:03:09", "Mar  5 14:03:09  ", "", "Xyz  5 14:03:09 ", "Mar  0 14:03:09 ",
        "Mar 32 14:03:09 ", "Mar ab 14:03:09 ", "Mar  5 24:03:09 ", "Mar  5 14:60:09 ",
        "Mar  5 14:03:60 ", "Mar  5 14:03:09x", "Mar -1 14:03:09 ", "Mar  5 -1:03:09 "}) {
    EXPECT_EQ(TimeStampError(bad), "Invalid syslog message: incorrect timestamp \"" + bad + "\"");
  }
  EXPECT_THROW((void)FMessage.ParseTimeStamp("Feb 30 00:00:00 "), EConvertError);
  EXPECT_THROW((void)FMessage.ParseTimeStamp("Feb 29 00:00:00 "), EConvertError)
      << kYear << " is no leap year";
  EXPECT_THROW((void)FMessage.ParseTimeStamp("Apr 31 00:00:00 "), EConvertError);
  Load("<13>Feb 30 00:00:00 h x");
  ExpectHeaderFellBack();
  EXPECT_EQ(FMessage.Msg().Text(), "Feb 30 00:00:00 h x");
}

TEST_F(IdSysLogMessageParseTest, MonthNamesInAnyCase) {
  const char* const names[] = {"jan", "FEB", "Mar", "aPr", "MAY", "jun",
                               "Jul", "aug", "SEP", "oct", "Nov", "dEC"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(syslog::MonthFromName(names[month - 1]), month);
  }
  for (const char* other : {"", "Ja", "January", "Jan ", "J\xC1N", "Fe8", "Sept"}) {
    EXPECT_EQ(syslog::MonthFromName(other), 0) << other;
  }
}

TEST_F(IdSysLogMessageParseTest, DatagramIsCappedAt1024Bytes) {
  std::string datagram = std::string(kReferenceMessage) + " ";
  while (datagram.size() < 3000)
    datagram += static_cast<char>('a' + datagram.size() % 26);
  std::istringstream stream(datagram);
  FMessage.LoadFromDatagram(stream, 3000, kPeer);
  EXPECT_EQ(FMessage.RawText(), datagram.substr(0, 1024));
  EXPECT_EQ(FMessage.Msg().Text(), datagram.substr(31, 1024 - 31));
  EXPECT_EQ(stream.tellg(), 1024) << "the rest stays unread";
}

TEST_F(IdSysLogMessageParseTest, ShortStreamFailsWithOnlyThePeerChanged) {
  Load(kReferenceMessage);
  std::istringstream stream("<0>short");
  const auto failure =
      test::Raised<EReadError>([&] { FMessage.LoadFromDatagram(stream, 100, "203.0.113.1"); });
  ASSERT_TRUE(failure) << "a short stream was read";
  EXPECT_EQ(failure->Message(), "Stream read error");
  EXPECT_EQ(FMessage.PeerAddress(), "203.0.113.1");
  EXPECT_EQ(FMessage.RawText(), kReferenceMessage);
  EXPECT_EQ(FMessage.Pri(), 13);
  EXPECT_EQ(FMessage.Msg().Text(), "app[1234]:hello");

  std::istringstream empty;
  FMessage.LoadFromDatagram(empty, -5, kPeer);
  EXPECT_EQ(FMessage.RawText(), "") << "a negative size reads nothing";
}

TEST_F(IdSysLogMessageParseTest, ParseLeavesPidAvailableAlone) {
  FMessage.Msg().SetPIDAvailable(true);
  Load("<13>Mar  5 14:03:09 h tag: text");
  EXPECT_TRUE(FMessage.Msg().PIDAvailable());
  EXPECT_EQ(FMessage.Msg().Text(), "tag: text");
}

}  // namespace
}  // namespace orvo
