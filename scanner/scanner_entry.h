#pragma once
#include <string>

// The whole scanner program: argument checks, banner, program checks, emptying of fileinfo, the
// file scan and the final wait for a key. Answers the exit code: 1 after a run, 0 on failure.
int RunScanner(int argc, const char* const* argv);

// The console text of the first argument check that fails, or nullptr when the command line is
// exactly one argument equal to "/FileScan" (compared without regard to case).
const char* CheckScannerArguments(int argc, const char* const* argv);

// True when a module path and the program directory built from it have the shape the scanner
// runs with: both 3..260 bytes, and the file name ends with "Sorrelscan" (without regard to case).
bool IsScannerModulePath(const std::string& modulePath);
