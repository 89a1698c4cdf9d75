#include "common/process/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>

#include "support/files.h"
#include "support/mount_namespace.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

// Guards against a hang only; no test depends on how fast anything happens.
constexpr auto kPatience = std::chrono::seconds(20);

bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

std::vector<std::string> splitAtNul(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1) {
    parts.push_back(text.substr(start, end - start));
  }
  return parts;
}

// A child that writes each argument it received, NUL-terminated, to <out> (renamed into place
// when complete, so a reader never sees half of it).
std::vector<std::string> recordArguments(const std::string& out) {
  return {"/bin/sh", "-c", R"(for a in "$@"; do printf '%s\0' "$a"; done > "$0.part" && mv "$0.part" "$0")",
          out};
}

// Writes an executable shell script.
void writeScript(const std::string& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  fs::permissions(path, fs::perms::owner_all);
}

// Each test copy of a program gets a name no other process on the machine carries, so tests
// running side by side never see or end each other's processes.
std::string uniqueName(const std::string& base) {
  static int counter = 0;
  return base + "_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

std::string copyProgram(const TemporaryDir& dir, const std::string& from, const std::string& name) {
  const std::string to = dir.path() + "/" + name;
  fs::copy_file(from, to);
  fs::permissions(to, fs::perms::owner_all);
  return to;
}

// Children of this test process that have ended but were never reaped.
int zombieChildren() {
  int zombies = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string stat = readFile(entry.path().string() + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    char state = 0;
    pid_t parent = 0;
    if (fields >> state >> parent && state == 'Z' && parent == getpid()) ++zombies;
  }
  return zombies;
}

TEST(RunProgram, ArgumentsReachTheChildUnchangedAndNothingIsInjected) {
  TemporaryDir dir;
  const std::string out = dir.path() + "/args";
  const std::string injected = dir.path() + "/injected";
  const std::vector<std::string> awkward = {
      "plain",           "with blank",          "\"double quoted\"", "it's",
      "",                "back\\slash",         "*",                  "$HOME",
      "; touch " + injected, "$(touch " + injected + ")", "`touch " + injected + "`", "tab\there",
      "line\nbreak",     "\xff\xfe not UTF-8",  "中文 目录"};
  std::vector<std::string> argv = recordArguments(out);
  argv.insert(argv.end(), awkward.begin(), awkward.end());

  ASSERT_NE(qevRunProgram(argv, 1), 0);

  EXPECT_EQ(splitAtNul(readFile(out)), awkward);
  EXPECT_FALSE(fs::exists(injected));
}

TEST(RunProgram, WaitFlagWaitsForTheChildToEnd) {
  TemporaryDir dir;
  const std::string done = dir.path() + "/done";
  ASSERT_NE(qevRunProgram({"/bin/sh", "-c", "sleep 0.3; : > \"$0\"", done}, 1), 0);
  EXPECT_TRUE(fs::exists(done));
}

TEST(RunProgram, RefusesWhatCannotBeStarted) {
  TemporaryDir dir;
  const std::string notExecutable = dir.path() + "/plain.txt";
  std::ofstream(notExecutable) << "text";
  const struct {
    const char* what;
    std::vector<std::string> argv;
  } cases[] = {
      {"no argument vector", {}},
      {"empty program", {""}},
      {"missing program", {dir.path() + "/missing"}},
      {"program not on PATH", {"sorrel-no-such-program-anywhere"}},
      {"not executable", {notExecutable}},
      {"directory", {dir.path()}},
      {"NUL inside an argument", {"/bin/true", std::string("cut\0short", 9)}},
  };
  for (const auto& c : cases) {
    for (int wait : {0, 1}) EXPECT_EQ(qevRunProgram(c.argv, wait), 0) << c.what << ", wait " << wait;
  }
}

TEST(RunProgram, ProgramsAreFoundOnPath) {
  EXPECT_NE(qevRunProgram({"true"}, 1), 0);
}

TEST(RunProgram, ChildWithoutWaitReadsEndOfInputAndIsReaped) {
  TemporaryDir dir;
  const std::string out = dir.path() + "/stdin";
  // `cat` ends at once on /dev/null; with this program's standard input it could block.
  ASSERT_NE(qevRunProgram({"/bin/sh", "-c", "cat > \"$0.part\"; mv \"$0.part\" \"$0\"", out}, 0), 0);
  ASSERT_TRUE(eventually([&] { return fs::exists(out); }));
  EXPECT_EQ(readFile(out), "");
  EXPECT_TRUE(eventually([] { return zombieChildren() == 0; })) << "an ended child was not reaped";
}

TEST(RunProgram, ChildWithoutWaitRunsInItsOwnSession) {
  TemporaryDir dir;
  const std::string out = dir.path() + "/session";
  ASSERT_NE(qevRunProgram({"/bin/sh", "-c", "cut -d' ' -f6 /proc/$$/stat > \"$0.part\"; mv \"$0.part\" \"$0\"", out}, 0),
            0);
  ASSERT_TRUE(eventually([&] { return fs::exists(out); }));
  EXPECT_NE(std::stol(readFile(out)), static_cast<long>(getsid(0)));
}

TEST(RunProgramW, WideArgumentsArriveAsTheirBytes) {
  TemporaryDir dir;
  const std::string out = dir.path() + "/args";
  std::vector<std::u16string> argv;
  for (const std::string& argument : recordArguments(out)) argv.emplace_back(argument.begin(), argument.end());
  // U+DCFF is the escape of the byte 0xFF that is not valid UTF-8.
  argv.push_back(u"中文 \"目录\"");
  argv.push_back(std::u16string(u"raw ") + char16_t(0xDCFF));
  argv.push_back(u"");

  ASSERT_NE(qevRunProgramW(argv), 0);

  ASSERT_TRUE(eventually([&] { return fs::exists(out); }));
  EXPECT_EQ(splitAtNul(readFile(out)), (std::vector<std::string>{"中文 \"目录\"", "raw \xff", ""}));
}

TEST(RunProgramW, RefusesAnEmptyVector) { EXPECT_EQ(qevRunProgramW({}), 0); }

// Restores an environment variable at the end of a test.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(RunProgramInTerminal, UsesTheTerminalOnlyWithADisplayAndAnInstalledTerminal) {
  enum Terminal { none, working, failing };  // failing: cannot open its display, ends at once
  const struct {
    const char* display;
    const char* wayland;
    Terminal terminal;
    bool expectTerminal;
  } cases[] = {
      {":99", "", working, true},  {"", "wayland-9", working, true}, {"", "", working, false},
      {":99", "", none, false},    {"", "", none, false},            {":99", "", failing, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("DISPLAY=") + c.display + " WAYLAND_DISPLAY=" + c.wayland + " terminal " +
                 std::to_string(c.terminal));
    TemporaryDir dir;
    const std::string bin = dir.path() + "/bin";
    fs::create_directory(bin);
    const std::string terminalOut = dir.path() + "/terminal";
    if (c.terminal == working) {
      writeScript(bin + "/x-terminal-emulator",
                  "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" + terminalOut + ".part' && mv '" +
                      terminalOut + ".part' '" + terminalOut + "'");
    } else {
      // Also hides a terminal the machine may have installed.
      writeScript(bin + "/x-terminal-emulator", "echo 'cannot open display' >&2; exit 1");
    }
    const ScopedEnvironment path("PATH", bin + ":" + std::getenv("PATH"));
    const ScopedEnvironment display("DISPLAY", c.display);
    const ScopedEnvironment wayland("WAYLAND_DISPLAY", c.wayland);
    const std::string directOut = dir.path() + "/direct";
    const std::vector<std::string> program = recordArguments(directOut);
    std::vector<std::string> argv = program;
    argv.push_back("a b");

    ASSERT_NE(qevRunProgramInTerminal(argv), 0);

    if (c.expectTerminal) {
      ASSERT_TRUE(eventually([&] { return fs::exists(terminalOut); }));
      std::vector<std::string> expected{"-e"};
      expected.insert(expected.end(), argv.begin(), argv.end());
      EXPECT_EQ(splitAtNul(readFile(terminalOut)), expected);
    } else {
      ASSERT_TRUE(eventually([&] { return fs::exists(directOut); }));
      EXPECT_EQ(splitAtNul(readFile(directOut)), std::vector<std::string>{"a b"});
      EXPECT_FALSE(fs::exists(terminalOut));
    }
  }
}

TEST(ProcessList, FindsAndEndsEveryProcessOfTheNameIgnoringCase) {
  TemporaryDir dir;
  const std::string name = uniqueName("Sorrelscan");
  const std::string program = copyProgram(dir, "/bin/sleep", name);
  ASSERT_EQ(qevGetProcessList(dir.path(), name), 2);
  ASSERT_NE(qevRunProgram({program, "60"}, 0), 0);
  ASSERT_NE(qevRunProgram({program, "60"}, 0), 0);
  ASSERT_TRUE(eventually([&] { return qevGetProcessList(dir.path(), name) == 1; }));

  const struct {
    std::string asked;
    int expected;
  } lookups[] = {
      {name, 1},
      {"SORRELSCAN" + name.substr(10), 1},
      {"sorrelscan" + name.substr(10), 1},
      {name.substr(0, name.size() - 1), 2},
      {name + "x", 2},
      {"", 2},
  };
  for (const auto& lookup : lookups) {
    EXPECT_EQ(qevGetProcessList(dir.path(), lookup.asked), lookup.expected) << lookup.asked;
  }

  EXPECT_EQ(qevTerminateProcess(dir.path(), name), 1);
  EXPECT_TRUE(eventually([&] { return qevGetProcessList(dir.path(), name) == 2; })) << "a killed process is still listed";
  EXPECT_EQ(qevTerminateProcess(dir.path(), name), 2);
  EXPECT_TRUE(eventually([] { return zombieChildren() == 0; })) << "a killed child was not reaped";
}

// Two installations run a scanner of the same name: each program directory sees and ends only
// its own, also when it is named through a link.
TEST(ProcessList, OnlyTheProgramStartedFromThatDirectoryCountsAndIsEnded) {
  TemporaryDir base;
  const std::string ours = base.path() + "/programs";
  const std::string theirs = base.path() + "/other-installation";
  fs::create_directories(ours);
  fs::create_directories(theirs);
  fs::create_directory_symlink(ours, base.path() + "/link");
  const std::string name = uniqueName("Sorrelscan");
  for (const std::string& directory : {ours, theirs}) {
    const std::string program = directory + "/" + name;
    fs::copy_file("/bin/sleep", program);
    ASSERT_NE(qevRunProgram({program, "60"}, 0), 0);
  }
  ASSERT_TRUE(eventually([&] { return qevGetProcessList(ours, name) == 1 && qevGetProcessList(theirs, name) == 1; }));

  const struct {
    std::string programDir;
    int expected;
  } lookups[] = {
      {ours, 1},
      {ours + "/", 1},
      {base.path() + "/link/", 1},
      {base.path() + "//programs/./", 1},
      {base.path() + "/", 2},
      {base.path() + "/missing/", 2},
  };
  for (const auto& lookup : lookups) {
    EXPECT_EQ(qevGetProcessList(lookup.programDir, name), lookup.expected) << lookup.programDir;
  }

  EXPECT_EQ(qevTerminateProcess(base.path() + "/link/", name), 1);
  EXPECT_TRUE(eventually([&] { return qevGetProcessList(ours, name) == 2; }));
  EXPECT_EQ(qevGetProcessList(theirs, name), 1) << "the other installation's scanner was ended";
  EXPECT_EQ(qevTerminateProcess(ours, name), 2);
  EXPECT_EQ(qevTerminateProcess(theirs, name), 1);
}

TEST(ProcessList, EndedChildStartedWithoutWaitIsNotCounted) {
  TemporaryDir dir;
  const std::string name = uniqueName("Sorrelscan");
  const std::string program = copyProgram(dir, "/bin/sleep", name);
  ASSERT_NE(qevRunProgram({program, "0.2"}, 0), 0);
  EXPECT_TRUE(eventually([&] { return qevGetProcessList(dir.path(), name) == 2; }));
  EXPECT_TRUE(eventually([] { return zombieChildren() == 0; }));
}

TEST(ProcessList, ZombieIsNotCounted) {
  TemporaryDir dir;
  const std::string name = uniqueName("Sorrelscan");
  const std::string program = copyProgram(dir, "/bin/true", name);
  // Started behind the helpers' back and deliberately not reaped yet.
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
  ASSERT_TRUE(eventually([] { return zombieChildren() == 1; }));

  EXPECT_EQ(qevGetProcessList(dir.path(), name), 2);
  EXPECT_EQ(qevTerminateProcess(dir.path(), name), 2);

  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, 0), pid);
}

TEST(ProcessList, ProcessWhoseExecutableWasRemovedStillCounts) {
  TemporaryDir dir;
  const std::string name = uniqueName("Sorrelscan");
  const std::string program = copyProgram(dir, "/bin/sleep", name);
  ASSERT_NE(qevRunProgram({program, "60"}, 0), 0);
  ASSERT_TRUE(eventually([&] { return qevGetProcessList(dir.path(), name) == 1; }));
  fs::remove(program);

  EXPECT_EQ(qevGetProcessList(dir.path(), name), 1);
  EXPECT_EQ(qevTerminateProcess(dir.path(), name), 1);
  EXPECT_TRUE(eventually([&] { return qevGetProcessList(dir.path(), name) == 2; }));
}

TEST(ProcessList, UnreadableProcessListAnswersZero) {
  if (!InPrivateMountNamespace()) {
    RerunInPrivateMountNamespace();
    return;
  }
  // An empty file system over /proc: the list has no first entry.
  ASSERT_TRUE(MountTmpfs("/proc"));
  const int listed = qevGetProcessList("/opt/sorrel/", "Sorrelscan");
  const int terminated = qevTerminateProcess("/opt/sorrel/", "Sorrelscan");
  // The leak checker of sanitized builds reads /proc when the program ends.
  ASSERT_EQ(runShell("umount /proc"), 0);
  EXPECT_EQ(listed, 0);
  EXPECT_EQ(terminated, 0);
}

}  // namespace
