#include "syslog/IdSysLogMsgPart.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Exception.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

TEST(IdSysLogMsgPartTest, NewPartIsEmptyWithoutPid) {
  TIdSysLogMsgPart part;
  EXPECT_EQ(part.Text(), "");
  EXPECT_FALSE(part.PIDAvailable());
  EXPECT_EQ(part.Process(), "");
  EXPECT_EQ(part.PID(), -1);
  EXPECT_EQ(part.Content(), "");
  part.SetPIDAvailable(false);
  EXPECT_EQ(part.Text(), "") << "a lone colon is dropped";
}

TEST(IdSysLogMsgPartTest, WritesWithPidBuildTagPidAndContent) {
  TIdSysLogMsgPart part;
  part.SetPIDAvailable(true);
  EXPECT_EQ(part.Text(), "[-1]:");
  part.SetPID(1234);
  EXPECT_EQ(part.Text(), "[1234]:");
  part.SetProcess("app");
  EXPECT_EQ(part.Text(), "app[1234]:");
  part.SetContent("hello");
  EXPECT_EQ(part.Text(), "app[1234]:hello");
  EXPECT_EQ(part.Process(), "app");
  EXPECT_EQ(part.PID(), 1234);
  EXPECT_EQ(part.Content(), "hello");
  part.SetContent("second");
  EXPECT_EQ(part.Text(), "app[1234]:second") << "a second content replaces only the content";
  part.SetPIDAvailable(false);
  EXPECT_EQ(part.Text(), "app:second");
  part.SetPIDAvailable(true);
  EXPECT_EQ(part.Text(), "app[-1]:second") << "the dropped id is gone";
}

TEST(IdSysLogMsgPartTest, WritesWithoutPidDependOnTheirOrder) {
  TIdSysLogMsgPart part;
  part.SetPID(1234);
  EXPECT_EQ(part.Text(), ":");
  part.SetProcess("app");
  EXPECT_EQ(part.Text(), "app::")
      << "the content of a text whose only colon stands first is all of it";
  part.SetContent("hello");
  EXPECT_EQ(part.Text(), "app:hello");
}

TEST(IdSysLogMsgPartTest, ContentWithoutTag) {
  TIdSysLogMsgPart withPid;
  withPid.SetPIDAvailable(true);
  withPid.SetPID(1234);
  withPid.SetContent("hello");
  EXPECT_EQ(withPid.Text(), "[1234]:hello");
  TIdSysLogMsgPart plain;
  plain.SetContent("hello");
  EXPECT_EQ(plain.Text(), ":hello");
  EXPECT_EQ(plain.Content(), ":hello");
  EXPECT_EQ(plain.Process(), "");
  plain.SetContent("bye");
  EXPECT_EQ(plain.Text(), ":bye");
}

TEST(IdSysLogMsgPartTest, ReadsTheViewsFromAnyText) {
  TIdSysLogMsgPart part;
  part.SetText("app:a:b");
  EXPECT_EQ(part.Process(), "app");
  EXPECT_EQ(part.Content(), "a:b");
  EXPECT_EQ(part.PID(), -1);
  part.SetText("app[77]: spaced");
  EXPECT_EQ(part.Content(), " spaced") << "a leading space belongs to the content";
  EXPECT_EQ(part.PID(), 77);
  part.SetText("app:x[12]");
  EXPECT_EQ(part.PID(), -1) << "the bracket is only looked for before the first colon";
  part.SetText("a[42");
  EXPECT_EQ(part.PID(), -1) << "no colon, no tag";
  part.SetText("a[42:");
  EXPECT_EQ(part.PID(), 42) << "an unclosed bracket runs to the colon";
  EXPECT_EQ(part.Process(), "a");
  part.SetText("a[]:x");
  EXPECT_EQ(part.PID(), -1);
  part.SetText("no colon at all");
  EXPECT_EQ(part.Content(), "no colon at all");
  EXPECT_EQ(part.Process(), "");
}

TEST(IdSysLogMsgPartTest, PidThatIsNoIntegerFailsReadsAndTheWritesThatReadIt) {
  TIdSysLogMsgPart part;
  part.SetText("app[12a]:x");
  const auto failure = test::Raised<EConvertError>([&] { (void)part.PID(); });
  ASSERT_TRUE(failure) << "no conversion error";
  EXPECT_EQ(failure->Message(), "'12a' は整数ではありません");
  EXPECT_THROW(part.SetContent("y"), EConvertError);
  EXPECT_THROW(part.SetProcess("p"), EConvertError);
  EXPECT_THROW(part.SetPIDAvailable(true), EConvertError);
  EXPECT_EQ(part.Text(), "app[12a]:x");
  EXPECT_FALSE(part.PIDAvailable()) << "a failed write changes nothing";
  part.SetPID(5);
  EXPECT_EQ(part.Text(), "app:x") << "writing the id reads no id";
}

TEST(IdSysLogMsgPartTest, TagIsCutToItsLeadingLettersAndDigits) {
  TIdSysLogMsgPart part;
  part.SetProcess("my-app");
  EXPECT_EQ(part.Process(), "my");
  part.SetProcess("_x");
  EXPECT_EQ(part.Process(), "");
  EXPECT_EQ(part.Text(), ":");
  part.SetProcess("Ab9 z");
  EXPECT_EQ(part.Process(), "Ab9");
  part.SetProcess("t\xE9st");
  EXPECT_EQ(part.Process(), "t");
  EXPECT_EQ(syslog::KeepLeadingAlnum("az09AZ[1]"), "az09AZ");
  EXPECT_EQ(syslog::KeepLeadingAlnum(""), "");
}

TEST(IdSysLogMsgPartTest, TagAndPidPartTakeAtMost32Characters) {
  const std::string longTag(40, 'a');
  TIdSysLogMsgPart withPid;
  withPid.SetPIDAvailable(true);
  withPid.SetPID(1234);
  withPid.SetProcess(longTag);
  EXPECT_EQ(withPid.Process().size(), 25u);
  TIdSysLogMsgPart newWithPid;
  newWithPid.SetPIDAvailable(true);
  newWithPid.SetProcess(longTag);
  EXPECT_EQ(newWithPid.Process().size(), 27u) << "counted with the [-1]: the text holds";
  TIdSysLogMsgPart withoutPid;
  withoutPid.SetPID(1234);
  withoutPid.SetProcess(longTag);
  EXPECT_EQ(withoutPid.Process().size(), 31u);
  withPid.SetPID(-2147483647 - 1);
  withPid.SetProcess(longTag);
  EXPECT_EQ(withPid.Text(), std::string(18, 'a') + "[-2147483648]:");
}

TEST(IdSysLogMsgPartTest, FormatPidPartFollowsTheFlag) {
  TIdSysLogMsgPart part;
  EXPECT_EQ(part.FormatPidPart(1234), ":");
  part.SetPIDAvailable(true);
  EXPECT_EQ(part.FormatPidPart(1234), "[1234]:");
  EXPECT_EQ(part.FormatPidPart(-7), "[-7]:");
  EXPECT_EQ(part.FormatPidPart(2147483647), "[2147483647]:");
}

TEST(IdSysLogMsgPartTest, ContentMayComeFromThePartItself) {
  TIdSysLogMsgPart part;
  part.SetPIDAvailable(true);
  part.SetPID(1);
  part.SetProcess("app");
  part.SetContent("hello");
  const std::string_view ownText = part.Text();
  part.SetContent(ownText);
  EXPECT_EQ(part.Text(), "app[1]:app[1]:hello");
  const std::string_view ownTail = std::string_view(part.Text()).substr(7);
  part.SetContent(ownTail);
  EXPECT_EQ(part.Text(), "app[1]:app[1]:hello");
  part.SetProcess(std::string_view(part.Text()).substr(0, 2));
  EXPECT_EQ(part.Text(), "ap[1]:app[1]:hello");
}

TEST(IdSysLogMsgPartTest, AssignCopiesTheTextOnly) {
  TIdSysLogMsgPart source;
  source.SetPIDAvailable(true);
  source.SetPID(9);
  source.SetContent("x");
  TIdSysLogMsgPart target;
  target.Assign(source);
  EXPECT_EQ(target.Text(), "[9]:x");
  EXPECT_FALSE(target.PIDAvailable());
}

// A part whose PID part is its own: every write builds the text with it and reads the id back
// from the text.
class ShiftedPidPart : public TIdSysLogMsgPart {
 public:
  std::string FormatPidPart(std::int32_t pid) const override {
    return TIdSysLogMsgPart::FormatPidPart(pid + 1);
  }
};

TEST(IdSysLogMsgPartTest, WritesUseTheOverriddenPidPart) {
  ShiftedPidPart shifted;
  shifted.SetPIDAvailable(true);
  EXPECT_EQ(shifted.Text(), "[0]:");
  shifted.SetContent("a");
  EXPECT_EQ(shifted.Text(), "[1]:a");
  shifted.SetContent("b");
  EXPECT_EQ(shifted.Text(), "[2]:b");
}

}  // namespace
}  // namespace orvo
