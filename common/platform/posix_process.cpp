#include "common/platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <thread>

namespace sorrel::platform {

namespace {

bool hasNulByte(const std::string& text) { return text.find('\0') != std::string::npos; }

pid_t waitForChild(pid_t pid) {
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid, &status, 0);
  } while (result < 0 && errno == EINTR);
  return result;
}

// A child that nobody waits for must still be reaped, or it stays a zombie for as long as
// this program runs.
void reapInBackground(pid_t pid) {
  try {
    std::thread([pid] { waitForChild(pid); }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the child is left to be reaped when this program ends.
  }
}

// Owns the spawn attributes and file actions for one start. A detached child gets its own
// session and /dev/null as input; an output descriptor becomes the child's output and error.
class SpawnSetup {
 public:
  explicit SpawnSetup(bool detached, int outputFd = -1) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
    if (outputFd >= 0) {
      posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
      posix_spawn_file_actions_adddup2(&actions_, outputFd, STDOUT_FILENO);
      posix_spawn_file_actions_adddup2(&actions_, outputFd, STDERR_FILENO);
    }
    // Like a start without handle inheritance: the child sees only the standard streams.
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    // The child starts with no blocked signals and default dispositions, whatever this
    // program ignores or blocks (SIGPIPE around sockets, for example).
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    sigdelset(&all, SIGKILL);
    sigdelset(&all, SIGSTOP);
    posix_spawnattr_setsigmask(&attributes_, &none);
    posix_spawnattr_setsigdefault(&attributes_, &all);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (detached) {
      posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
      flags |= POSIX_SPAWN_SETSID;
    }
    posix_spawnattr_setflags(&attributes_, flags);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

// Reads a small /proc file whole; false when it cannot be opened or read.
bool readSmallFile(const std::string& path, std::string& text) {
  text.clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  close(fd);
  return got == 0;
}

// The state letter of /proc/PID/stat, after the command name (which may itself hold ")").
char processState(const std::string& procDir) {
  std::string stat;
  if (!readSmallFile(procDir + "/stat", stat)) return '\0';
  const std::size_t close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return '\0';
  return stat[close + 2];
}

// Directory and basename of the executable; a replaced or removed executable reads
// "<path> (deleted)".
bool executableName(const std::string& procDir, std::string& directory, std::string& name) {
  char target[PATH_MAX + 1];
  const ssize_t length = readlink((procDir + "/exe").c_str(), target, PATH_MAX);
  if (length <= 0) return false;
  std::string path(target, static_cast<std::size_t>(length));
  static const std::string kDeleted = " (deleted)";
  if (path.size() > kDeleted.size() && path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return false;
  directory = slash == 0 ? std::string("/") : path.substr(0, slash);
  name = path.substr(slash + 1);
  return !name.empty();
}

bool commandName(const std::string& procDir, std::string& name) {
  if (!readSmallFile(procDir + "/comm", name)) return false;
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return !name.empty();
}

bool isExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool isProcessId(const char* text, pid_t& pid) {
  if (*text < '1' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || value <= 0 || value > INT_MAX) return false;
  pid = static_cast<pid_t>(value);
  return true;
}

// posix_spawnp of argv; detached children get their own session and /dev/null as input.
bool startChild(const std::vector<std::string>& argv, bool detached, pid_t& child, int outputFd = -1) {
  if (argv.empty() || argv[0].empty()) return false;
  std::vector<char*> arguments;
  arguments.reserve(argv.size() + 1);
  for (const std::string& argument : argv) {
    // A NUL byte would silently cut the argument short.
    if (hasNulByte(argument)) return false;
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);
  const SpawnSetup setup(detached, outputFd);
  return posix_spawnp(&child, argv[0].c_str(), setup.actions(), setup.attributes(), arguments.data(),
                      environ) == 0;
}

}  // namespace

bool spawnProcess(const std::vector<std::string>& argv, bool wait, pid_t& pid) {
  pid = 0;
  pid_t child = 0;
  if (!startChild(argv, !wait, child)) return false;
  pid = child;
  if (wait) waitForChild(child);
  else reapInBackground(child);
  return true;
}

bool runCollectingOutput(const std::vector<std::string>& argv,
                         const std::function<void(const char* bytes, std::size_t count)>& onOutput,
                         int& exitCode) {
  exitCode = -1;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  pid_t child = 0;
  const bool started = startChild(argv, false, child, ends[1]);
  close(ends[1]);
  if (!started) {
    close(ends[0]);
    return false;
  }
  char buffer[16384];
  for (;;) {
    const ssize_t got = read(ends[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    onOutput(buffer, static_cast<std::size_t>(got));
  }
  close(ends[0]);
  int status = 0;
  pid_t result;
  do {
    result = waitpid(child, &status, 0);
  } while (result < 0 && errno == EINTR);
  if (result == child && WIFEXITED(status)) exitCode = WEXITSTATUS(status);
  return true;
}

EarlyOutcome spawnAndWatch(const std::vector<std::string>& argv, int graceMilliseconds) {
  pid_t child = 0;
  if (!startChild(argv, true, child)) return EarlyOutcome::notStarted;
  constexpr int kPollMilliseconds = 20;
  for (int waited = 0; waited < graceMilliseconds; waited += kPollMilliseconds) {
    int status = 0;
    const pid_t result = waitpid(child, &status, WNOHANG);
    if (result == child) {
      const bool well = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      return well ? EarlyOutcome::endedWell : EarlyOutcome::endedBadly;
    }
    if (result < 0 && errno != EINTR) return EarlyOutcome::stillRunning;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
  }
  reapInBackground(child);
  return EarlyOutcome::stillRunning;
}

WaitOutcome spawnAndWaitUnless(const std::vector<std::string>& argv, const std::function<bool()>& giveUp) {
  pid_t child = 0;
  if (!startChild(argv, false, child)) return WaitOutcome::notStarted;
  constexpr auto kPoll = std::chrono::milliseconds(50);
  while (true) {
    int status = 0;
    const pid_t result = waitpid(child, &status, WNOHANG);
    if (result == child) return WaitOutcome::ended;
    // Somebody else reaped it (it can no longer be waited for): it has ended all the same.
    if (result < 0 && errno != EINTR) return WaitOutcome::ended;
    if (giveUp && giveUp()) {
      reapInBackground(child);
      return WaitOutcome::gaveUp;
    }
    std::this_thread::sleep_for(kPoll);
  }
}

bool environmentHas(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool isOnPath(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return false;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string_view rest = path;
  while (true) {
    const std::size_t end = rest.find(':');
    std::string_view directory = rest.substr(0, end);
    if (directory.empty()) directory = ".";  // an empty entry is the current directory
    std::string candidate;
    candidate.reserve(directory.size() + 1 + name.size());
    candidate.append(directory).append(1, '/').append(name);
    if (isExecutableFile(candidate)) return true;
    if (end == std::string_view::npos) return false;
    rest.remove_prefix(end + 1);
  }
}

ProcessListResult listProcesses(std::vector<ProcessEntry>& entries) {
  entries.clear();
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return ProcessListResult::notReadable;
  bool sawProcess = false;
  while (const dirent* entry = readdir(proc)) {
    pid_t pid = 0;
    if (!isProcessId(entry->d_name, pid)) continue;
    sawProcess = true;
    const std::string procDir = std::string("/proc/") + entry->d_name;
    const char state = processState(procDir);
    if (state == '\0' || state == 'Z' || state == 'X') continue;
    ProcessEntry process;
    process.pid = pid;
    if (!executableName(procDir, process.directory, process.name)) {
      process.directory.clear();
      if (!commandName(procDir, process.name)) continue;
    }
    entries.push_back(std::move(process));
  }
  closedir(proc);
  return sawProcess ? ProcessListResult::listed : ProcessListResult::noFirstEntry;
}

KillResult killProcess(pid_t pid) {
  if (pid <= 0) return KillResult::refused;
  if (kill(pid, SIGKILL) == 0) return KillResult::killed;
  return errno == ESRCH ? KillResult::alreadyGone : KillResult::refused;
}

}  // namespace sorrel::platform
