#pragma once
// A program directory holding the built sorrel and Sorrelscan, runs of sorrel as a process, and
// the rows they leave in the data store.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "support/files.h"
#include "support/mount_namespace.h"
#include "support/program_dir.h"

namespace sorrel_test {

struct SorrelRun {
  int exitCode = -1;
  std::string out;
  std::string err;
  // Lines written to standard error.
  std::size_t errorLines() const {
    std::size_t lines = 0;
    for (char c : err) lines += c == '\n';
    return lines;
  }
};

inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A temporary program directory with sorrel, Sorrelscan and the scanner's check value; the
// program directory of this process too, so the test reads the same data store.
class SorrelProgramDir {
 public:
  SorrelProgramDir() {
    namespace fs = std::filesystem;
    const std::string dist = SORREL_DIST_DIR;
    fs::copy_file(dist + "/sorrel", dir_.path() + "sorrel");
    fs::copy_file(dist + "/Sorrelscan", dir_.path() + "Sorrelscan");
    fs::copy_file(dist + "/config/Sorrelscan.in", dir_.path() + "config/Sorrelscan.in",
                  fs::copy_options::overwrite_existing);
  }

  const std::string& path() const { return dir_.path(); }
  std::string program() const { return dir_.path() + "sorrel"; }

  // Runs sorrel with standard input from input (a file; /dev/null by default) in workDir.
  SorrelRun run(const std::vector<std::string>& arguments, const std::string& workDir = "/",
          const std::string& input = "/dev/null") const {
    std::string command = "cd " + shellQuote(workDir) + " && exec " + shellQuote(program());
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    return capture(command + " <" + shellQuote(input));
  }

  // Runs sorrel on a terminal (a pseudo-terminal of script(1)) that types the given lines.
  SorrelRun runOnTerminal(const std::vector<std::string>& arguments, const std::string& typed) const {
    writeFile(dir_.path() + "typed", typed);
    std::string inner = shellQuote(program());
    for (const std::string& argument : arguments) inner += " " + shellQuote(argument);
    return capture("script -qefc " + shellQuote(inner) + " /dev/null <" + shellQuote(dir_.path() + "typed"));
  }

  // Runs sorrel as the user nobody, with the program directory open to others to enter (the
  // data store keeps its own mode).
  SorrelRun runAsNobody(const std::vector<std::string>& arguments) const {
    namespace fs = std::filesystem;
    const auto enter = fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(dir_.path(), enter, fs::perm_options::add);
    fs::permissions(dir_.path() + "config", enter, fs::perm_options::add);
    std::string command = "cd / && exec setpriv --reuid=65534 --regid=65534 --clear-groups " + shellQuote(program());
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    return capture(command + " </dev/null");
  }

  // Starts sorrel in the background, output discarded; answers its process id.
  pid_t start(const std::vector<std::string>& arguments) const {
    const pid_t child = fork();
    if (child == 0) {
      std::vector<char*> argv;
      const std::string program = this->program();
      argv.push_back(const_cast<char*>(program.c_str()));
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      if (freopen("/dev/null", "r", stdin) == nullptr || freopen("/dev/null", "w", stdout) == nullptr ||
          freopen("/dev/null", "w", stderr) == nullptr) {
        _exit(126);
      }
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    return child;
  }

 private:
  SorrelRun capture(const std::string& command) const {
    const std::string out = dir_.path() + "stdout";
    const std::string err = dir_.path() + "stderr";
    SorrelRun run;
    run.exitCode = runShell(command + " >" + shellQuote(out) + " 2>" + shellQuote(err));
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
  }

  TemporaryProgramDir dir_;
};

inline std::string storedPath(const std::string& path) { return qevEncodeStoredName(wide(path)); }

// The count of fileinfo rows a condition selects ("" for all).
inline int rowCount(const std::string& condition = "") {
  std::string count;
  const std::string where = condition.empty() ? "" : " where " + condition;
  EXPECT_EQ(qevReadFirstValue("select count(*) as n from fileinfo" + where, "n", count), 1);
  return count.empty() ? -1 : std::stoi(count);
}

// State code and text of the newest row of an entry's path.
inline std::string rowState(const std::string& path) {
  std::string code, text;
  qevReadLatestValue("fileinfo", "filepath", storedPath(path), "id", "CompactDatabase", code);
  qevReadLatestValue("fileinfo", "filepath", storedPath(path), "id", "fileinfo", text);
  return code + " " + text;
}

}  // namespace sorrel_test
