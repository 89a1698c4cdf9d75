#pragma once
#include <string>
#include <vector>

#include "cli/options.h"

class Terminal;

// Exit codes of sorrel.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;          // the work failed (a line on standard error says why)
inline constexpr int kExitUsage = 2;            // the command line was wrong
inline constexpr int kExitSpecialEntries = 3;   // sorrel scan completed and recorded special entries

// One subcommand of sorrel, in a file of its own (cli/<name>_subcommand.cpp). The program parses
// the options (always with -h/--help) before run is called, so run sees a well-formed line;
// run answers the exit code and reports a usage error with qevUsageError.
struct Subcommand {
  std::string name;
  std::string synopsis;  // "clean [--yes] (--all | NUMBER...)"
  std::string summary;   // one line for the program's help
  std::string help;      // the body of "sorrel <name> --help", after the usage line
  std::vector<OptionSpec> options;
  int (*run)(const ParsedOptions& options, Terminal& terminal) = nullptr;
};

// "sorrel <command>: <reason> (see sorrel <command> --help)" on standard error; answers 2.
int qevUsageError(Terminal& terminal, const std::string& reason);
