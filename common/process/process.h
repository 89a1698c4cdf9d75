#pragma once
#include <functional>
#include <string>
#include <vector>

// Programs are started with posix_spawn from an argument vector (program path, then arguments),
// never through a shell.

// wait 1: wait until the child ends. Otherwise the child runs in its own session with standard
// input from /dev/null and is reaped when it ends. Non-zero if the process was started.
int qevRunProgram(const std::vector<std::string>& argv, int wait);
// Starts argv like qevRunProgram with wait 1 and waits for it to end, but asks giveUp every 50 ms:
// once it answers true the wait ends and the program is left to run (reaped when it ends).
// 1 the program ended, 2 the wait was given up, 0 it could not be started.
int qevRunProgramUntil(const std::vector<std::string>& argv, const std::function<bool()>& giveUp);
// Never waits.
int qevRunProgramW(const std::vector<std::u16string>& argv);

// Starts without waiting in a terminal the operator can see (x-terminal-emulator -e argv...) when a
// display is set and such a terminal is installed, else like qevRunProgram without waiting.
// Non-zero if the process was started.
int qevRunProgramInTerminal(const std::vector<std::string>& argv);

// 1 if FileChkVal in <programDir>/<folder>/<exeName>.in equals the check value of
// <programDir>/<exeName> (case ignored), else 0.
int qevVerifyCompanionExe(const std::string& programDir, const std::string& exeName,
                          const std::string& folder);

// 1 and the FileChkVal value (1..259 bytes) of a check-value file, else 0.
int qevReadCheckValueFile(const std::string& path, std::string& value);

// The processes of a program are those started from the file <programDir>/<exeName>: the same
// directory (links resolved) and the same file name (case ignored), also when the file was
// removed or replaced since. A program of that name from another directory (another
// installation) does not count, nor does a process whose executable cannot be read.

// 1 a process of the program runs, 2 none, 0 the list was not readable. Zombies do not count.
int qevGetProcessList(const std::string& programDir, const std::string& exeName);

// Ends (SIGKILL) every process of the program. 1 at least one ended, 2 none running, 0 failure.
int qevTerminateProcess(const std::string& programDir, const std::string& exeName);

inline constexpr const char* kScannerExeName = "Sorrelscan";
inline constexpr const char* kConfigFolder = "config";
