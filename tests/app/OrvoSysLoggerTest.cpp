#include "app/orvosyslog.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "base/Exception.h"
#include "platform/Process.h"
#include "tests/support/Raised.h"

namespace orvo {
namespace {

class OrvoSysLoggerTest : public ::testing::Test {
 protected:
  void Parse(std::vector<std::string> parameters) {
    parameters.insert(parameters.begin(), "orvologger");
    std::vector<const char*> argv;
    for (const std::string& parameter : parameters)
      argv.push_back(parameter.c_str());
    platform::SetProgramArguments(static_cast<int>(argv.size()), argv.data());
    FLogger.ParseCommandLine();
  }

  TIdSysLogMsgPart& Msg() { return FLogger.SysLogMessage->Msg(); }

  const std::string FPid = std::to_string(::getpid());
  TOrvoSysLogger FLogger;
};

TEST_F(OrvoSysLoggerTest, CreationSetsTheFields) {
  EXPECT_FALSE(FLogger.ShowHelp());
  EXPECT_TRUE(FLogger.AutoTimeStamp());
  EXPECT_FALSE(FLogger.Echo());
  EXPECT_EQ(FLogger.MessageText(), "");
  EXPECT_EQ(FLogger.FileName(), "");
  EXPECT_FALSE(Msg().PIDAvailable());
  EXPECT_EQ(Msg().Text(), "");
  EXPECT_EQ(FLogger.syslog->Port(), 514);
  EXPECT_TRUE(FLogger.NothingToSend());
}

TEST_F(OrvoSysLoggerTest, NoParametersStillStoreTheProcessId) {
  Parse({});
  EXPECT_EQ(FLogger.syslog->Host(), "127.0.0.1");
  EXPECT_EQ(FLogger.syslog->Port(), 514);
  EXPECT_EQ(FLogger.SysLogMessage->Pri(), 13);
  // The id is written, but without the switch the MSG part keeps no trace of it.
  EXPECT_EQ(Msg().Process(), "");
  EXPECT_EQ(Msg().Text(), ":");
  Parse({"-i"});
  EXPECT_EQ(Msg().PID(), ::getpid());
  EXPECT_TRUE(FLogger.NothingToSend());
}

// The process id is written before the tag, so that the tag is cut with the id's part counted.
TEST_F(OrvoSysLoggerTest, TheScanWritesIntoTheComponents) {
  const std::string longTag(40, 't');
  Parse({"-h", "10.0.0.5:601", "-p", "uucp.err", "-is", "-t", longTag, "-f", "list.txt", "hi"});
  EXPECT_EQ(FLogger.syslog->Host(), "10.0.0.5");
  EXPECT_EQ(FLogger.syslog->Port(), 601);
  EXPECT_EQ(FLogger.SysLogMessage->Facility(), TIdSyslogFacility::sfUUCP);
  EXPECT_EQ(FLogger.SysLogMessage->Severity(), TIdSyslogSeverity::slError);
  EXPECT_EQ(FLogger.SysLogMessage->Pri(), 67);
  const std::string pidPart = "[" + FPid + "]:";
  EXPECT_EQ(Msg().Text(), longTag.substr(0, 32 - pidPart.size()) + pidPart);
  EXPECT_TRUE(FLogger.Echo());
  EXPECT_EQ(FLogger.FileName(), "list.txt");
  EXPECT_EQ(FLogger.MessageText(), "hi");
  EXPECT_FALSE(FLogger.NothingToSend());
}

TEST_F(OrvoSysLoggerTest, AFileNameAloneIsSomethingToSend) {
  Parse({"-f", "x"});
  EXPECT_FALSE(FLogger.NothingToSend());
  Parse({"-help"});
  EXPECT_TRUE(FLogger.ShowHelp());
}

TEST_F(OrvoSysLoggerTest, AMissingFileRaisesBeforeAnythingIsSent) {
  Parse({"-h", "no..such.host", "-f", "/nonexistent/orvo-messages.txt"});
  std::string echo = "unchanged";
  const auto failure = test::Raised<Exception>([&] { FLogger.SendMessages(echo); });
  ASSERT_TRUE(failure) << "no exception";
  EXPECT_EQ(failure->Message(), "ファイル /nonexistent/orvo-messages.txt は開けません");
  EXPECT_EQ(echo, "unchanged");
}

}  // namespace
}  // namespace orvo
