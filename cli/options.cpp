#include "cli/options.h"

namespace {

const OptionSpec* findLong(const std::vector<OptionSpec>& specs, const std::string& name) {
  for (const OptionSpec& spec : specs) {
    if (spec.longName == name) return &spec;
  }
  return nullptr;
}

const OptionSpec* findShort(const std::vector<OptionSpec>& specs, char name) {
  for (const OptionSpec& spec : specs) {
    if (spec.shortName != 0 && spec.shortName == name) return &spec;
  }
  return nullptr;
}

class Parser {
 public:
  Parser(const std::vector<OptionSpec>& specs, const std::vector<std::string>& arguments, ParsedOptions& parsed,
         std::string& error)
      : specs_(specs), arguments_(arguments), parsed_(parsed), error_(error) {}

  bool run() {
    bool optionsEnded = false;
    for (next_ = 0; next_ < arguments_.size();) {
      const std::string& argument = arguments_[next_++];
      if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
        parsed_.operands.push_back(argument);
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (argument[1] == '-') {
        if (!longOption(argument.substr(2))) return false;
      } else if (!shortOptions(argument.substr(1))) {
        return false;
      }
    }
    return true;
  }

 private:
  bool longOption(const std::string& text) {
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const OptionSpec* spec = findLong(specs_, name);
    if (spec == nullptr) return fail("unrecognized option '--" + name + "'");
    if (!spec->takesValue) {
      if (equals != std::string::npos) return fail("option '--" + name + "' takes no value");
      parsed_.given[name] = "";
      return true;
    }
    if (equals != std::string::npos) {
      parsed_.given[name] = text.substr(equals + 1);
      return true;
    }
    if (next_ == arguments_.size()) return fail("option '--" + name + "' requires a value");
    parsed_.given[name] = arguments_[next_++];
    return true;
  }

  bool shortOptions(const std::string& letters) {
    for (std::size_t i = 0; i < letters.size(); ++i) {
      const OptionSpec* spec = findShort(specs_, letters[i]);
      if (spec == nullptr) return fail(std::string("invalid option -- '") + letters[i] + "'");
      if (!spec->takesValue) {
        parsed_.given[spec->longName] = "";
        continue;
      }
      if (i + 1 < letters.size()) {
        parsed_.given[spec->longName] = letters.substr(i + 1);
      } else if (next_ < arguments_.size()) {
        parsed_.given[spec->longName] = arguments_[next_++];
      } else {
        return fail(std::string("option requires a value -- '") + letters[i] + "'");
      }
      return true;
    }
    return true;
  }

  bool fail(const std::string& reason) {
    error_ = reason;
    return false;
  }

  const std::vector<OptionSpec>& specs_;
  const std::vector<std::string>& arguments_;
  ParsedOptions& parsed_;
  std::string& error_;
  std::size_t next_ = 0;
};

}  // namespace

std::string ParsedOptions::value(const std::string& longName) const {
  const auto found = given.find(longName);
  return found == given.end() ? std::string() : found->second;
}

bool qevParseOptions(const std::vector<OptionSpec>& specs, const std::vector<std::string>& arguments,
                     ParsedOptions& parsed, std::string& error) {
  parsed = {};
  error.clear();
  return Parser(specs, arguments, parsed, error).run();
}
