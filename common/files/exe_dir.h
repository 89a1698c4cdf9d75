#pragma once
#include <string>

// The program directory: the absolute folder of the running executable, ending with "/",
// 3..260 bytes. Answers 1 with the directory, or 0.
int qevGetExeDir(std::string& dir);

// Tests run many programs' worth of state from one binary: this points the program
// directory somewhere else for the rest of the process. An empty text restores the real one.
void qevOverrideExeDirForTesting(const std::string& dir);
