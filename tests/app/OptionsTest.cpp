#include "app/Options.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvo::options {
namespace {

TEST(ExtractFieldTest, SplitsAtTheSeparator) {
  EXPECT_EQ(ExtractField(0, ':', "10.0.0.5:601"), "10.0.0.5");
  EXPECT_EQ(ExtractField(1, ':', "10.0.0.5:601"), "601");
  EXPECT_EQ(ExtractField(2, ':', "10.0.0.5:601"), "");
  EXPECT_EQ(ExtractField(1, ':', "a:b:c"), "b");
  EXPECT_EQ(ExtractField(0, ':', ":601"), "");
  EXPECT_EQ(ExtractField(1, '.', "local3"), "");
  EXPECT_EQ(ExtractField(0, '.', ""), "");
}

TEST(ExtractFieldTest, QuotedSeparatorsBelongToTheFieldAndQuotesAreRemoved) {
  EXPECT_EQ(ExtractField(0, ':', "\"a:b\":c"), "a:b");
  EXPECT_EQ(ExtractField(1, ':', "\"a:b\":c"), "c");
  EXPECT_EQ(ExtractField(0, ':', "\"say \"\"hi\"\"\" rest"), "say \"hi\"");
  EXPECT_EQ(ExtractField(0, ':', "\"unclosed:x"), "unclosed:");
  EXPECT_EQ(ExtractField(0, ':', "x\"a:b\""), "x\"a:b\"") << "only a leading quote unquotes";
}

TEST(ParseHostPortTest, SetsHostAlwaysAndPortOnlyWhenUsable) {
  std::string host = "127.0.0.1";
  std::int32_t port = 514;
  ParseHostPort("10.0.0.5:601", host, port);
  EXPECT_EQ(host, "10.0.0.5");
  EXPECT_EQ(port, 601);
  ParseHostPort("10.0.0.6", host, port);
  EXPECT_EQ(host, "10.0.0.6");
  EXPECT_EQ(port, 601) << "a later value without a port keeps the earlier port";
  ParseHostPort(":602", host, port);
  EXPECT_EQ(host, "");
  EXPECT_EQ(port, 602);
  for (const char* unusable : {"h:0", "h:-5", "h:abc", "h: 7x", "h:"}) {
    ParseHostPort(unusable, host, port);
    EXPECT_EQ(port, 602) << unusable;
  }
  ParseHostPort("h:70000", host, port);
  EXPECT_EQ(port, 70000);
  ParseHostPort("h:0x20:99", host, port);
  EXPECT_EQ(port, 32) << "hex reads; anything after a second colon is ignored";
}

std::vector<std::string> Params(std::initializer_list<std::string> words) {
  std::vector<std::string> parameters{"/usr/bin/orvologger"};
  parameters.insert(parameters.end(), words);
  return parameters;
}

// Every name of both tables, second names included, through the scan. The priority starts at
// user and notice, so each row names a facility and a severity other than those where it can;
// a swap of two entries or a lost name moves a row off its expected pair.
TEST(PriorityNamesTest, EveryNameSelectsItsFacilityAndSeverity) {
  using F = TIdSyslogFacility;
  using S = TIdSyslogSeverity;
  struct {
    const char* Value;
    F Facility;
    S Severity;
  } const rows[] = {
      {"kern.emerg", F::sfKernel, S::slEmergency},
      {"user.panic", F::sfUserLevel, S::slEmergency},
      {"mail.alart", F::sfMailSystem, S::slAlert},
      {"daemon.crit", F::sfSystemDaemon, S::slCritical},
      {"auth.error", F::sfSecurityOne, S::slError},
      {"security.err", F::sfSecurityOne, S::slError},
      {"syslog.warn", F::sfSysLogInternal, S::slWarning},
      {"lpr.warning", F::sfLPR, S::slWarning},
      {"news.info", F::sfNNTP, S::slInformational},
      {"cron.debug", F::sfClockDaemonOne, S::slDebug},
      {"uucp.notice", F::sfUUCP, S::slNotice},
      {"authpriv.emerg", F::sfSecurityTwo, S::slEmergency},
      {"ftp.panic", F::sfFTPDaemon, S::slEmergency},
      {"ntp.alart", F::sfNTP, S::slAlert},
      {"audit.crit", F::sfLogAudit, S::slCritical},
      {"alart.error", F::sfLogAlert, S::slError},
      {"cron2.err", F::sfClockDaemonTwo, S::slError},
      {"local0.warn", F::sfLocalUseZero, S::slWarning},
      {"local1.warning", F::sfLocalUseOne, S::slWarning},
      {"local2.info", F::sfLocalUseTwo, S::slInformational},
      {"local3.debug", F::sfLocalUseThree, S::slDebug},
      {"local4.emerg", F::sfLocalUseFour, S::slEmergency},
      {"local5.alart", F::sfLocalUseFive, S::slAlert},
      {"local6.crit", F::sfLocalUseSix, S::slCritical},
      {"local7.error", F::sfLocalUseSeven, S::slError},
      // Names are lowered; anything after a second dot is ignored.
      {"LOCAL3.ERR", F::sfLocalUseThree, S::slError},
      {"cron2.crit.debug", F::sfClockDaemonTwo, S::slCritical},
      // Names that are in neither table leave user and notice: "alert" is spelled "alart"
      // there, numbers are no names, an entry is no name, and a name is never empty.
      {"alert.alert", F::sfUserLevel, S::slNotice},
      {"16.3", F::sfUserLevel, S::slNotice},
      {"auth:security.error:err", F::sfUserLevel, S::slNotice},
      {"loc.er", F::sfUserLevel, S::slNotice},
      {".err", F::sfUserLevel, S::slError},
      {"local3", F::sfLocalUseThree, S::slNotice},
      {"local3.", F::sfLocalUseThree, S::slNotice},
      {"", F::sfUserLevel, S::slNotice},
  };
  for (const auto& row : rows) {
    const TScanResult scanned = ScanParameters(Params({"-p", row.Value}));
    EXPECT_EQ(scanned.Facility, row.Facility) << row.Value;
    EXPECT_EQ(scanned.Severity, row.Severity) << row.Value;
  }
}

// The whole result as one line, so that a row's every field is compared and a difference reads
// plainly.
std::string Described(const TScanResult& r) {
  std::ostringstream line;
  line << "host [" << r.Host << "] port " << r.Port << " tag [" << r.Tag << "] priority "
       << static_cast<int>(r.Facility) << '.' << static_cast<int>(r.Severity)
       << (r.ShowHelp ? " help" : "") << (r.Echo ? " echo" : "") << (r.PIDAvailable ? " pid" : "")
       << " file [" << r.FileName << "] message [" << r.MessageText << ']';
  return line.str();
}

TEST(ScanParametersTest, EachParameterListGivesItsResult) {
  using F = TIdSyslogFacility;
  using S = TIdSyslogSeverity;
  struct {
    std::vector<std::string> Parameters;
    TScanResult Expected;
  } const rows[] = {
      {{}, {}},
      {{"-h", "10.0.0.5:601", "-p", "local3.err", "-t", "app", "-f", "msgs.txt", "hello", "world"},
       {.Host = "10.0.0.5",
        .Port = 601,
        .Tag = "app",
        .Facility = F::sfLocalUseThree,
        .Severity = S::slError,
        .FileName = "msgs.txt",
        .MessageText = "hello world"}},
      // An option is known by its first characters, with case, after trimming; the first entry
      // of the option table that starts the parameter decides.
      {{"-helpme"}, {.ShowHelp = true}},
      {{"-host", "h:9"}, {.Host = "h", .Port = 9}},
      {{"-hel", "h"}, {.Host = "h"}},
      {{"-hx", "h"}, {.Host = "h"}},
      {{"-pri", "kern.debug"}, {.Facility = F::sfKernel, .Severity = S::slDebug}},
      {{"-tag", "x"}, {.Tag = "x"}},
      {{"-file", "f"}, {.FileName = "f"}},
      {{" -s ", "m"}, {.Echo = true, .MessageText = "m"}},
      {{"-is"}, {.Echo = true, .PIDAvailable = true}},
      {{"-six"}, {.Echo = true, .PIDAvailable = true}},
      {{"-sx"}, {.Echo = true}},
      {{"-ix"}, {.PIDAvailable = true}},
      {{"-H", "word"}, {.MessageText = "-H word"}},
      {{"-HELP"}, {.MessageText = "-HELP"}},
      {{"-l", "file.txt"}, {.MessageText = "-l file.txt"}},
      {{"-", "x"}, {.MessageText = "- x"}},
      // Values are taken untrimmed, even when they look like options; an option without its
      // value does nothing.
      {{"-t", "-s"}, {.Tag = "-s"}},
      {{"-f", " name "}, {.FileName = " name "}},
      {{"-s", "-t"}, {.Echo = true}},
      {{"-h"}, {}},
      // Repeats override, except a later host without a usable port; each -p starts again from
      // user and notice.
      {{"-h", "a:601", "-h", "b", "-t", "one", "-t", "two", "-f", "x", "-f", "y"},
       {.Host = "b", .Port = 601, .Tag = "two", .FileName = "y"}},
      {{"-p", "local0.err", "-p", "foo.bar"}, {}},
      {{"-p", "local0.err", "-p", "local1"}, {.Facility = F::sfLocalUseOne}},
      // The message begins at the first parameter that is no option; its first word is
      // trimmed, later words are not. The first "--" ends the options and is dropped.
      {{"hello", "-s"}, {.MessageText = "hello -s"}},
      {{"  two  blanks  ", "  kept  "}, {.MessageText = "two  blanks   kept  "}},
      {{"-help", "words", "too"}, {.ShowHelp = true, .MessageText = "words too"}},
      {{"--", "-s"}, {.MessageText = "-s"}},
      {{"-s", "--"}, {.Echo = true}},
      {{"a", "--"}, {.MessageText = "a --"}},
  };
  for (const auto& row : rows) {
    std::vector<std::string> parameters{"/usr/bin/orvologger"};
    parameters.insert(parameters.end(), row.Parameters.begin(), row.Parameters.end());
    EXPECT_EQ(Described(ScanParameters(parameters)), Described(row.Expected))
        << ::testing::PrintToString(row.Parameters);
  }
  EXPECT_EQ(Described(ScanParameters({})), Described({})) << "without parameter 0";
}

}  // namespace
}  // namespace orvo::options
