#pragma once
#include <string>
#include <vector>

#include "cli/terminal.h"

// sorrel COMMAND [OPTION]... [ARGUMENT]...: finds the subcommand, parses its options, answers
// --help, and runs it. Answers the exit code (0 done, 1 failed, 2 usage, 3 special entries).
int qevRunSorrel(int argc, char** argv);

// The same over given arguments (without the program name) and streams, for tests.
int qevRunSorrelWith(const std::vector<std::string>& arguments, const Terminal::Streams& streams);
