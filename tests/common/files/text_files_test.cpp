#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/files/text_files.h"
#include "support/files.h"
#include "support/lock_holder.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class TextFiles : public ::testing::Test {
 protected:
  TemporaryDir temp;
  const std::string base = temp.path();
};

TEST_F(TextFiles, ReadGivesTheBytesAsTheyAre) {
  const std::string longName = base + "/" + std::string(250, 'n');  // beyond 259 bytes
  writeFile(base + "/list", "a\r\nb\n");
  writeFile(base + "/binary", std::string("\0\xff\xfe z", 5));
  writeFile(base + "/empty", "");
  writeFile(longName, "long");
  fs::create_directory(base + "/dir");
  const struct {
    std::string path;
    int bounded;
    int unbounded;
    std::string text;
  } cases[] = {
      {base + "/list", 1, 1, "a\r\nb\n"},
      {base + "/binary", 1, 1, std::string("\0\xff\xfe z", 5)},
      {base + "/empty", 0, 0, ""},
      {base + "/missing", 0, 0, ""},
      {base + "/dir", 0, 0, ""},
      {longName, 0, 1, "long"},  // only the bounded form refuses paths beyond 259 bytes
      {"", 0, 0, ""},
  };
  for (const auto& c : cases) {
    std::string text = "stale";
    EXPECT_EQ(qevReadFileText(c.path, text), c.bounded) << c.path;
    EXPECT_EQ(text, c.bounded == 1 ? c.text : "");
    text = "stale";
    EXPECT_EQ(qevReadFileTextUnbounded(c.path, text), c.unbounded) << c.path;
    EXPECT_EQ(text, c.unbounded == 1 ? c.text : "");
  }
}

// The other program holding the file exclusively is a sharing violation: waited out for about
// three seconds (31 attempts 100 ms apart), then given up.
TEST_F(TextFiles, ReadWaitsOutAnExclusiveLockOfAnotherProcessForAboutThreeSeconds) {
  const std::string path = base + "/list";
  writeFile(path, "content");
  std::string text;
  {
    LockHolder other(path, true, 1000);
    EXPECT_EQ(qevReadFileText(path, text), 1);
    EXPECT_EQ(text, "content");
  }
  {
    LockHolder other(path, true, 4500);
    EXPECT_EQ(qevReadFileText(path, text), 0);
    EXPECT_EQ(text, "");
  }
  LockHolder reader(path, false, 300);  // another reader does not stand in the way
  EXPECT_EQ(qevReadFileText(path, text), 1);
}

TEST_F(TextFiles, WriteReplacesTheWholeFile) {
  const struct {
    std::string before;  // "" for no file
    std::string text;
    std::string after;
  } cases[] = {
      {"", "new\r\n", "new\r\n"},
      {"a much longer old content\r\n", "short", "short"},
      {"old", "", "\r\n"},  // an empty text is written as one line end
  };
  for (const auto& c : cases) {
    const std::string path = base + "/list.txt";
    fs::remove(path);
    if (!c.before.empty()) writeFile(path, c.before);
    EXPECT_EQ(qevWriteFileText(path, c.text), 1);
    EXPECT_EQ(readFile(path), c.after);
    EXPECT_EQ(namesIn(base), std::vector<std::string>{"list.txt"}) << "no temporary file is left";
  }
  EXPECT_EQ(qevWriteFileText(base + "/nodir/list.txt", "x"), 0);
  EXPECT_EQ(qevWriteFileText("", "x"), 0);
}

// Modes bind no one when the tests run as root: the write then runs as an ordinary user, who
// owns the directory but may not write to the file.
int writeAsOrdinaryUser(const std::string& dir, const std::string& path, const std::string& text) {
  if (geteuid() != 0) return qevWriteFileText(path, text);
  constexpr uid_t kNobody = 65534;
  if (chown(dir.c_str(), kNobody, kNobody) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const bool dropped = setgid(kNobody) == 0 && setuid(kNobody) == 0;
    _exit(dropped ? qevWriteFileText(path, text) : 2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(TextFiles, WriteReplacesAReadOnlyFileAndKeepsItsMode) {
  const std::string path = base + "/list.txt";
  writeFile(path, "old");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(path, readOnly);
  EXPECT_EQ(writeAsOrdinaryUser(base, path, "new"), 1);
  EXPECT_EQ(readFile(path), "new");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, readOnly);
}

TEST_F(TextFiles, WriteWaitsForAReaderOfAnotherProcess) {
  const std::string path = base + "/list.txt";
  writeFile(path, "old");
  LockHolder reader(path, false, 800);
  EXPECT_EQ(qevWriteFileText(path, "new"), 1);
  EXPECT_EQ(readFile(path), "new");
}

TEST_F(TextFiles, WriteBytesStoresEveryByte) {
  const std::string bytes("log\0line\xff", 9);
  EXPECT_EQ(qevWriteFileBytes(base + "/fm.log", bytes.data(), bytes.size()), 1);
  EXPECT_EQ(readFile(base + "/fm.log"), bytes);
  EXPECT_EQ(qevWriteFileBytes(base + "/zero.log", bytes.data(), 0), 0);
  EXPECT_EQ(qevWriteFileBytes(base + "/null.log", nullptr, 3), 0);
  EXPECT_EQ(qevWriteFileBytes("", bytes.data(), 3), 0);
  EXPECT_FALSE(fs::exists(base + "/zero.log"));
  EXPECT_FALSE(fs::exists(base + "/null.log"));
}

TEST_F(TextFiles, FindFilesListsPlainFilesOfTenBytesUpTo888MiB) {
  writeFile(base + "/a.log", "0123456789");  // 10 bytes: listed
  writeFile(base + "/b.log", "012345678");   // 9 bytes: too small
  writeFile(base + "/c.txt", "01234567890123456789");
  fs::create_directory(base + "/d.log");
  fs::create_symlink(base + "/a.log", base + "/e.log");
  writeFile(base + "/big.dat", "");
  fs::resize_file(base + "/big.dat", 931135488);  // exactly 888 MiB: listed
  writeFile(base + "/huge.dat", "");
  fs::resize_file(base + "/huge.dat", 931135489);
  const struct {
    std::string pattern;
    int code;
    std::vector<std::string> names;
    NameCase nameCase = NameCase::Exact;
  } cases[] = {
      {base + "/*.log", 1, {"a.log"}},
      {base + "/*", 1, {"a.log", "big.dat", "c.txt"}},
      {base + "/?.txt", 1, {"c.txt"}},
      {base + "/c.txt", 1, {"c.txt"}},
      {base + "/*.LOG", 0, {}},  // names are case-sensitive
      {base + "/*.LOG", 1, {"a.log"}, NameCase::Ignored},
      {base + "/C.[T]xt", 1, {"c.txt"}, NameCase::Ignored},
      {base + "/none*", 0, {}},
      {base + "/nodir/*", 0, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> names{"stale"};
    std::vector<std::string> paths{"stale"};
    EXPECT_EQ(qevFindFiles(c.pattern, names, paths, c.nameCase), c.code) << c.pattern;
    ASSERT_EQ(names.size(), paths.size());
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(paths[i], base + "/" + names[i]);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.names) << c.pattern;
  }
}

TEST_F(TextFiles, FindFilesRefusesOtherPatternShapesUntouched) {
  for (const std::string& pattern : {std::string("*.log"), std::string("/a"),
                                     "/" + std::string(260, 'x')}) {
    std::vector<std::string> names{"kept"};
    std::vector<std::string> paths{"kept"};
    EXPECT_EQ(qevFindFiles(pattern, names, paths), 0) << pattern;
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
  }
}

}  // namespace
