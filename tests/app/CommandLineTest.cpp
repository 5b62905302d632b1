#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include "platform/Process.h"
#include "tests/support/Platform.h"

namespace orvo::cmdline {
namespace {

using Parameters = std::vector<std::string>;

TEST(SplitCommandLineTest, SeparatesAtRunsOfBlanksAndControlCharacters) {
  EXPECT_EQ(SplitCommandLine("prog a  b\tc\x01\x1f d"), (Parameters{"prog", "a", "b", "c", "d"}));
  EXPECT_EQ(SplitCommandLine("  \t prog  "), (Parameters{"prog"}));
  EXPECT_EQ(SplitCommandLine(""), Parameters{});
  EXPECT_EQ(SplitCommandLine(" \t\r\n"), Parameters{});
}

TEST(SplitCommandLineTest, QuotedStretchesKeepBlanksAndLoseTheirQuotes) {
  EXPECT_EQ(SplitCommandLine("p \"a b\" c"), (Parameters{"p", "a b", "c"}));
  EXPECT_EQ(SplitCommandLine("p a\"b c\"d"), (Parameters{"p", "ab cd"}));
  EXPECT_EQ(SplitCommandLine("p \"x\"\"y\""), (Parameters{"p", "xy"}));
  EXPECT_EQ(SplitCommandLine("p \"open to the end"), (Parameters{"p", "open to the end"}));
  EXPECT_EQ(SplitCommandLine("p \"\tkeeps tab\""), (Parameters{"p", "\tkeeps tab"}));
}

TEST(SplitCommandLineTest, NoParameterIsEverEmpty) {
  EXPECT_EQ(SplitCommandLine("p \"\" a"), (Parameters{"p", "a"}));
  EXPECT_EQ(SplitCommandLine("p \"\"\"\" a \"\""), (Parameters{"p", "a"}));
  EXPECT_EQ(SplitCommandLine("p a \""), (Parameters{"p", "a"})) << "a lone quote at the end";
  EXPECT_EQ(SplitCommandLine("p \"\"\" b\""), (Parameters{"p", " b"}))
      << "a pair is skipped, the third quote opens a stretch";
  EXPECT_EQ(SplitCommandLine("p x\"\""), (Parameters{"p", "x"}));
}

TEST(ProgramParametersTest, StartsWithTheProgramFileAndDropsEmptyParameters) {
  if (test::kOnWindows)
    GTEST_SKIP()
        << "parameter 0 is a POSIX path here; orvologger_tests checks Windows' command line";
  const char* const argv[] = {"whatever-argv0", "", "-s", "", "hello", " "};
  platform::SetProgramArguments(6, argv);
  const Parameters parameters = ProgramParameters();
  ASSERT_EQ(parameters.size(), 4u);
  EXPECT_EQ(parameters[0], platform::ModuleFileName());
  EXPECT_EQ(parameters[0].front(), '/');
  EXPECT_EQ(parameters[1], "-s");
  EXPECT_EQ(parameters[2], "hello");
  EXPECT_EQ(parameters[3], " ") << "only empty parameters are dropped";
}

}  // namespace
}  // namespace orvo::cmdline
