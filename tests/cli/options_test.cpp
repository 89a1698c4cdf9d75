// GNU-style option parsing of sorrel's subcommands.
#include "cli/options.h"

#include <gtest/gtest.h>

namespace {

const std::vector<OptionSpec> kSpecs = {
    {"json", 0, false}, {"yes", 'y', false}, {"all", 'a', false}, {"remark", 'r', true}};

TEST(Options, ParsesOptionsAndOperandsInAnyOrder) {
  struct Case {
    std::vector<std::string> arguments;
    std::map<std::string, std::string> given;
    std::vector<std::string> operands;
  };
  const Case cases[] = {
      {{}, {}, {}},
      {{"1", "--yes", "2"}, {{"yes", ""}}, {"1", "2"}},
      {{"-ya", "3"}, {{"yes", ""}, {"all", ""}}, {"3"}},
      {{"--remark=a b", "x"}, {{"remark", "a b"}}, {"x"}},
      {{"--remark", "--yes"}, {{"remark", "--yes"}}, {}},
      {{"-rtext", "-y"}, {{"remark", "text"}, {"yes", ""}}, {}},
      {{"-yr", "text"}, {{"yes", ""}, {"remark", "text"}}, {}},
      {{"--", "--yes", "-a"}, {}, {"--yes", "-a"}},
      {{"-", "--json"}, {{"json", ""}}, {"-"}},
      {{"--remark="}, {{"remark", ""}}, {}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    ParsedOptions parsed;
    std::string error;
    ASSERT_TRUE(qevParseOptions(kSpecs, test.arguments, parsed, error)) << error;
    EXPECT_EQ(parsed.given, test.given);
    EXPECT_EQ(parsed.operands, test.operands);
  }
}

TEST(Options, RefusesWhatTheSpecsDoNotAllowWithOneLineWhy) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{"--ye"}, "unrecognized option '--ye'"},
      {{"-x"}, "invalid option -- 'x'"},
      {{"-yx"}, "invalid option -- 'x'"},
      {{"-j"}, "invalid option -- 'j'"},  // --json has no short form
      {{"--json=1"}, "option '--json' takes no value"},
      {{"--remark"}, "option '--remark' requires a value"},
      {{"-r"}, "option requires a value -- 'r'"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    ParsedOptions parsed;
    std::string error;
    EXPECT_FALSE(qevParseOptions(kSpecs, test.arguments, parsed, error));
    EXPECT_EQ(error, test.error);
  }
}

}  // namespace
