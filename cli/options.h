#pragma once
#include <map>
#include <string>
#include <vector>

// GNU-style command lines: "--name", "--name=value" or "--name value", "-x", bundled "-xy",
// "-xvalue" or "-x value" for an option with a value, options and operands in any order, and
// "--" ending the options ("-" alone is an operand).
struct OptionSpec {
  std::string longName;  // without "--"
  char shortName = 0;    // 0: none
  bool takesValue = false;
};

struct ParsedOptions {
  std::map<std::string, std::string> given;  // by long name; "" for an option without a value
  std::vector<std::string> operands;

  bool has(const std::string& longName) const { return given.count(longName) != 0; }
  std::string value(const std::string& longName) const;
};

// False with a one-line reason ("unrecognized option '--x'", "option '--x' requires a value",
// "option '--x' takes no value") when the arguments do not fit the specs.
bool qevParseOptions(const std::vector<OptionSpec>& specs, const std::vector<std::string>& arguments,
                     ParsedOptions& parsed, std::string& error);
