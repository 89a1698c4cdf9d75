#pragma once
#include <string>

// Companion programs for tests: small shell scripts in a program directory that record their
// arguments, each with its check-value file config/<name>.in, and the help page with its check
// file.

// Writes <programDir><name>: it records its arguments, one per line, in <programDir><name>.args
// (replaced whole, so a reader never sees a part), then runs body (shell commands), and writes
// config/<name>.in with its check value.
void writeCompanion(const std::string& programDir, const std::string& name, const std::string& body = "");

// Shell commands that wait until <programDir>release exists (at most 60 s, and no longer than
// the program directory).
std::string waitForReleaseBody(const std::string& programDir);

// The arguments of the companion's last run, "\n" after each; "" when it has not run.
std::string companionArguments(const std::string& programDir, const std::string& name);

// Waits up to limitSeconds for the companion to have run; true when it has.
bool waitForCompanionRun(const std::string& programDir, const std::string& name, int limitSeconds = 20);

// Writes checkFile in settings format, section [Sorrelscan], FileChkVal = the check value of
// the file at path.
void writeCheckValueFile(const std::string& checkFile, const std::string& path);

// config/HelpMon.dat with the content, and config/HelpMon.Dat.in with its check value.
void writeHelpPage(const std::string& programDir, const std::string& content = "<p>help</p>");
