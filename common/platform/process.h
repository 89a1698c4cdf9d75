#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Starting, listing and ending processes.
namespace sorrel::platform {

// Starts argv[0] (searched on PATH when it holds no "/") with the arguments that follow, never
// through a shell, with the caller's environment and current directory. With wait, blocks until
// the child ends and reaps it. Without wait, the child runs in its own session with standard
// input from /dev/null and a background thread reaps it when it ends, so it never lingers as a
// zombie. True when the process was started; pid receives its id.
bool spawnProcess(const std::vector<std::string>& argv, bool wait, pid_t& pid);

// Starts argv like spawnProcess with wait, but with standard input from /dev/null and standard
// output and error into one pipe: hands the output to onOutput as it arrives, then reaps the
// child. True when it was started; exitCode is its exit status, -1 when a signal ended it.
bool runCollectingOutput(const std::vector<std::string>& argv,
                         const std::function<void(const char* bytes, std::size_t count)>& onOutput,
                         int& exitCode);

// Starts argv like spawnProcess without wait, then watches it for up to graceMilliseconds.
// A program that cannot do its work (a terminal that cannot open its display) ends at once
// with a failure status; one still running after the grace time is left to run and reaped.
enum class EarlyOutcome { notStarted, stillRunning, endedWell, endedBadly };
EarlyOutcome spawnAndWatch(const std::vector<std::string>& argv, int graceMilliseconds);

// Starts argv like spawnProcess with wait and waits for the child to end, asking giveUp every
// 50 ms. Once giveUp answers true the wait ends at once: the child goes on running and is reaped
// in the background when it ends, so no caller is held by a child that never ends.
enum class WaitOutcome { notStarted, ended, gaveUp };
WaitOutcome spawnAndWaitUnless(const std::vector<std::string>& argv, const std::function<bool()>& giveUp);

// True when an executable regular file of that name is found in a directory of PATH.
bool isOnPath(const std::string& name);

// True when the variable is set to a non-empty value.
bool environmentHas(const char* name);

struct ProcessEntry {
  pid_t pid = 0;
  std::string name;       // file name of the executable, else the command name
  std::string directory;  // directory of the executable as the kernel names it (links resolved,
                          // also after the file was removed or replaced); "" when unreadable
};

enum class ProcessListResult {
  listed,           // entries hold every live process that could be read
  notReadable,      // the process list (/proc) could not be opened
  noFirstEntry,     // the process list holds no process at all
};

// Every process that has not ended: directory and basename of /proc/PID/exe, else only the name
// /proc/PID/comm (the executable of another user's process cannot be read). Zombies and
// processes that vanish while the list is read are left out.
ProcessListResult listProcesses(std::vector<ProcessEntry>& entries);

enum class KillResult { killed, alreadyGone, refused };

// SIGKILL; does not wait for the process to disappear.
KillResult killProcess(pid_t pid);

}  // namespace sorrel::platform
