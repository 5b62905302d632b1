#include "app/Options.h"

#include <gtest/gtest.h>

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

TEST(PriorityNamesTest, FirstAndSecondNamesSelectTheirPosition) {
  EXPECT_EQ(FacilityOrdinal("local3.err"), 19u);
  EXPECT_EQ(SeverityOrdinal("local3.err"), 3u);
  EXPECT_EQ(FacilityOrdinal("LOCAL3.ERR"), 19u);
  EXPECT_EQ(SeverityOrdinal("LOCAL3.ERR"), 3u);
  EXPECT_EQ(FacilityOrdinal("security.warning"), 4u);
  EXPECT_EQ(SeverityOrdinal("security.warning"), 4u);
  EXPECT_EQ(FacilityOrdinal("auth.panic"), 4u);
  EXPECT_EQ(SeverityOrdinal("auth.panic"), 0u);
  EXPECT_EQ(FacilityOrdinal("cron.info"), 8u);
  EXPECT_EQ(FacilityOrdinal("uucp.debug"), 9u);
  EXPECT_EQ(SeverityOrdinal("uucp.debug"), 7u);
  EXPECT_EQ(FacilityOrdinal("cron2.x.crit"), 15u);
  EXPECT_EQ(SeverityOrdinal("x.crit.debug"), 2u) << "anything after a second dot is ignored";
}

TEST(PriorityNamesTest, AlartIsSpelledSoAndAlertMatchesNothing) {
  EXPECT_EQ(FacilityOrdinal("alart.alart"), 14u);
  EXPECT_EQ(SeverityOrdinal("alart.alart"), 1u);
  EXPECT_EQ(FacilityOrdinal("alert.alert"), std::nullopt);
  EXPECT_EQ(SeverityOrdinal("user.alert"), std::nullopt);
}

TEST(PriorityNamesTest, EmptyNumericAndPartialNamesMatchNothing) {
  EXPECT_EQ(FacilityOrdinal(".err"), std::nullopt);
  EXPECT_EQ(SeverityOrdinal("local3"), std::nullopt);
  EXPECT_EQ(SeverityOrdinal("local3."), std::nullopt);
  EXPECT_EQ(FacilityOrdinal("16.3"), std::nullopt);
  EXPECT_EQ(SeverityOrdinal("16.3"), std::nullopt);
  EXPECT_EQ(FacilityOrdinal("auth:security.err"), std::nullopt);
  EXPECT_EQ(FacilityOrdinal("loc.err"), std::nullopt);
}

TEST(ParsePriorityTest, AlwaysWritesBothAndStartsFromTheDefaults) {
  using F = TIdSyslogFacility;
  using S = TIdSyslogSeverity;
  struct {
    const char* Value;
    F Facility;
    S Severity;
  } const cases[] = {{"local3.err", F::sfLocalUseThree, S::slError},
                     {"security.warning", F::sfSecurityOne, S::slWarning},
                     {"cron.info", F::sfClockDaemonOne, S::slInformational},
                     {"local7.emerg", F::sfLocalUseSeven, S::slEmergency},
                     {"user.alert", F::sfUserLevel, S::slNotice},
                     {"foo.bar", F::sfUserLevel, S::slNotice},
                     {"", F::sfUserLevel, S::slNotice}};
  for (const auto& c : cases) {
    // Start from values no name gives back, so every write shows.
    F facility = F::sfKernel;
    S severity = S::slDebug;
    ParsePriority(c.Value, facility, severity);
    EXPECT_EQ(facility, c.Facility) << c.Value;
    EXPECT_EQ(severity, c.Severity) << c.Value;
  }
}

std::vector<std::string> Params(std::initializer_list<std::string> words) {
  std::vector<std::string> parameters{"/usr/bin/orvologger"};
  parameters.insert(parameters.end(), words);
  return parameters;
}

TEST(ScanParametersTest, NoParametersGiveTheDefaults) {
  const TScanResult r = ScanParameters(Params({}));
  EXPECT_EQ(r.Host, "127.0.0.1");
  EXPECT_EQ(r.Port, 514);
  EXPECT_EQ(r.Tag, "");
  EXPECT_EQ(r.Facility, TIdSyslogFacility::sfUserLevel);
  EXPECT_EQ(r.Severity, TIdSyslogSeverity::slNotice);
  EXPECT_FALSE(r.ShowHelp || r.Echo || r.PIDAvailable);
  EXPECT_EQ(r.FileName, "");
  EXPECT_EQ(r.MessageText, "");
  EXPECT_EQ(ScanParameters({}).MessageText, "") << "even without parameter 0";
}

TEST(ScanParametersTest, OptionsTakeTheirValuesAndTheRestIsTheMessage) {
  const TScanResult r = ScanParameters(Params(
      {"-h", "10.0.0.5:601", "-p", "local3.err", "-t", "app", "-f", "msgs.txt", "hello", "world"}));
  EXPECT_EQ(r.Host, "10.0.0.5");
  EXPECT_EQ(r.Port, 601);
  EXPECT_EQ(r.Facility, TIdSyslogFacility::sfLocalUseThree);
  EXPECT_EQ(r.Severity, TIdSyslogSeverity::slError);
  EXPECT_EQ(r.Tag, "app");
  EXPECT_EQ(r.FileName, "msgs.txt");
  EXPECT_EQ(r.MessageText, "hello world");
}

TEST(ScanParametersTest, OptionsAreRecognisedByTheirFirstCharactersWithCase) {
  EXPECT_TRUE(ScanParameters(Params({"-helpme"})).ShowHelp);
  EXPECT_EQ(ScanParameters(Params({"-host", "h:9"})).Port, 9);
  EXPECT_EQ(ScanParameters(Params({"-hel", "h:9"})).Host, "h");
  EXPECT_EQ(ScanParameters(Params({"-pri", "kern.debug"})).Severity, TIdSyslogSeverity::slDebug);
  EXPECT_EQ(ScanParameters(Params({"-tag", "x"})).Tag, "x");
  EXPECT_EQ(ScanParameters(Params({"-file", "f"})).FileName, "f");
  EXPECT_EQ(ScanParameters(Params({" -s ", "m"})).Echo, true) << "the option is trimmed";

  const TScanResult six = ScanParameters(Params({"-six"}));
  EXPECT_TRUE(six.Echo && six.PIDAvailable);
  const TScanResult si = ScanParameters(Params({"-si"}));
  EXPECT_TRUE(si.Echo && si.PIDAvailable);
  const TScanResult sx = ScanParameters(Params({"-sx"}));
  EXPECT_TRUE(sx.Echo && !sx.PIDAvailable);
  const TScanResult ix = ScanParameters(Params({"-ix"}));
  EXPECT_TRUE(!ix.Echo && ix.PIDAvailable);

  EXPECT_EQ(ScanParameters(Params({"-H", "word"})).MessageText, "-H word");
  EXPECT_FALSE(ScanParameters(Params({"-HELP"})).ShowHelp);
  EXPECT_EQ(ScanParameters(Params({"-l", "file.txt"})).MessageText, "-l file.txt");
  EXPECT_EQ(ScanParameters(Params({"-", "x"})).MessageText, "- x");
}

TEST(ScanParametersTest, ValuesAreTakenUntrimmedEvenWhenTheyLookLikeOptions) {
  const TScanResult r = ScanParameters(Params({"-t", "-s"}));
  EXPECT_EQ(r.Tag, "-s");
  EXPECT_FALSE(r.Echo);
  EXPECT_EQ(ScanParameters(Params({"-f", " name "})).FileName, " name ");
}

TEST(ScanParametersTest, AnOptionWithoutItsValueDoesNothing) {
  const TScanResult r = ScanParameters(Params({"-s", "-t"}));
  EXPECT_EQ(r.Tag, "");
  EXPECT_TRUE(r.Echo);
  EXPECT_EQ(r.MessageText, "");
  EXPECT_EQ(ScanParameters(Params({"-h"})).Host, "127.0.0.1");
}

TEST(ScanParametersTest, RepeatsOverrideExceptAnUnusablePort) {
  const TScanResult r = ScanParameters(
      Params({"-h", "a:601", "-h", "b", "-t", "one", "-t", "two", "-f", "x", "-f", "y"}));
  EXPECT_EQ(r.Host, "b");
  EXPECT_EQ(r.Port, 601);
  EXPECT_EQ(r.Tag, "two");
  EXPECT_EQ(r.FileName, "y");
  const TScanResult p = ScanParameters(Params({"-p", "local0.err", "-p", "foo.bar"}));
  EXPECT_EQ(p.Facility, TIdSyslogFacility::sfUserLevel);
  EXPECT_EQ(p.Severity, TIdSyslogSeverity::slNotice);
  const TScanResult q = ScanParameters(Params({"-p", "local0.err", "-p", "local1"}));
  EXPECT_EQ(q.Facility, TIdSyslogFacility::sfLocalUseOne);
  EXPECT_EQ(q.Severity, TIdSyslogSeverity::slNotice) << "each -p starts again from notice";
}

TEST(ScanParametersTest, MessageWordsFollowTheFirstNonOption) {
  EXPECT_EQ(ScanParameters(Params({"hello", "-s"})).MessageText, "hello -s");
  EXPECT_FALSE(ScanParameters(Params({"hello", "-s"})).Echo);
  EXPECT_EQ(ScanParameters(Params({"  two  blanks  ", "  kept  "})).MessageText,
            "two  blanks   kept  ")
      << "the first word is trimmed, later words are not";
  EXPECT_EQ(ScanParameters(Params({"-help", "words", "too"})).ShowHelp, true);
}

TEST(ScanParametersTest, DoubleDashEndsTheOptionsAndIsDropped) {
  EXPECT_EQ(ScanParameters(Params({"--", "-s"})).MessageText, "-s");
  EXPECT_FALSE(ScanParameters(Params({"--", "-s"})).Echo);
  EXPECT_EQ(ScanParameters(Params({"-s", "--"})).MessageText, "");
  EXPECT_EQ(ScanParameters(Params({"a", "--"})).MessageText, "a --") << "only the first is dropped";
}

}  // namespace
}  // namespace orvo::options
