#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>

#include "common/files/exe_dir.h"
#include "common/files/profile.h"
#include "common/files/settings.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

class Profile : public ::testing::Test {
 protected:
  TemporaryDir temp;
  const std::string file = temp.path() + "/Sorrelscan.ini";
};

TEST_F(Profile, ReadFindsKeysWhateverTheirCaseBlanksAndQuotes) {
  const struct {
    std::string content;
    std::string section;
    std::string key;
    std::string text;  // read with the default "dflt"
    int number;        // read with the default 7
  } cases[] = {
      {"[Sorrelscan]\r\nrefscanlog=1\r\n", "Sorrelscan", "refscanlog", "1", 1},
      {"[SORRELSCAN]\nRefScanLog=1\n", "sorrelscan", "REFSCANLOG", "1", 1},
      {"  [ Sorrelscan ]  \n\t refscanlog  =  1  \n", "Sorrelscan", "refscanlog", "1", 1},
      {"[s]\nk=\"a b\"\n", "s", "k", "a b", 0},
      {"[s]\nk='x'\n", "s", "k", "x", 0},
      {"[s]\nk=\"open\n", "s", "k", "\"open", 0},
      {"[s]\nk=\"\"42\"\"\n", "s", "k", "\"42\"", 0},  // one pair only
      {"[s]\nk=\n", "s", "k", "", 0},
      {"[s]\nk=12abc\n", "s", "k", "12abc", 12},
      {"[s]\nk=-5\n", "s", "k", "-5", -5},
      {"[s]\nk=+5\n", "s", "k", "+5", 5},
      {"[s]\nk=abc\n", "s", "k", "abc", 0},
      {"[s]\nk=99999999999\n", "s", "k", "99999999999", INT_MAX},
      {"[s]\nk=1\nk=2\n", "s", "k", "1", 1},  // the first of two
      {"[s]\nk=a=b\n", "s", "k", "a=b", 0},
      {"[s]\nother=1\n", "s", "k", "dflt", 7},
      {"[s]\n;k=1\n", "s", "k", "dflt", 7},  // a comment
      {"[other]\nk=1\n[s]\n", "s", "k", "dflt", 7},
      {"[s]\n[other]\nk=1\n", "s", "k", "dflt", 7},
      {"k=1\n", "s", "k", "dflt", 7},  // outside every section
      {"", "s", "k", "dflt", 7},
  };
  for (const auto& c : cases) {
    writeFile(file, c.content);
    EXPECT_EQ(qevReadProfileString(file, c.section, c.key, "dflt"), c.text) << c.content;
    EXPECT_EQ(qevReadProfileInt(file, c.section, c.key, 7), c.number) << c.content;
  }
}

TEST_F(Profile, ReadOfAMissingFileGivesTheDefault) {
  EXPECT_EQ(qevReadProfileString(file, "s", "k", "dflt"), "dflt");
  EXPECT_EQ(qevReadProfileInt(file, "s", "k", -3), -3);
}

TEST_F(Profile, WriteReplacesInPlaceElseAppendsToTheSectionElseAddsIt) {
  const struct {
    std::string before;  // "" for no file
    std::string section;
    std::string key;
    std::string value;
    std::string after;
  } cases[] = {
      {"", "Sorrelscan", "refscanlog", "1", "[Sorrelscan]\r\nrefscanlog=1\r\n"},
      {"[Sorrelscan]\r\nrefscanlog=0\r\nCompactDatabase=0\r\n", "Sorrelscan", "refscanlog", "1",
       "[Sorrelscan]\r\nrefscanlog=1\r\nCompactDatabase=0\r\n"},
      {"[sorrelscan]\r\n  RefScanLog = 0 \r\n", "Sorrelscan", "refscanlog", "1",
       "[sorrelscan]\r\nrefscanlog=1\r\n"},
      {"[Sorrelscan]\na=1\n\n[Other]\nb=2\n", "Sorrelscan", "c", "3",
       "[Sorrelscan]\r\na=1\r\nc=3\r\n\r\n[Other]\r\nb=2\r\n"},
      {"; settings\r\n[Other]\r\nb=2", "Sorrelscan", "refscanlog", "1",
       "; settings\r\n[Other]\r\nb=2\r\n[Sorrelscan]\r\nrefscanlog=1\r\n"},
      {"[Other]\r\nk=old\r\n[s]\r\n", "s", "k", "new", "[Other]\r\nk=old\r\n[s]\r\nk=new\r\n"},
      {"[s]\r\nk=1\r\n", " s ", " k ", " 2 ", "[s]\r\nk=2\r\n"},
      {"[s]\r\nk=1\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
  };
  for (const auto& c : cases) {
    std::remove(file.c_str());
    if (!c.before.empty()) writeFile(file, c.before);
    EXPECT_EQ(qevWriteProfileString(file, c.section, c.key, c.value), 1) << c.before;
    EXPECT_EQ(readFile(file), c.after) << c.before;
  }
}

// A value with a line break would plant keys of its own; names that break the line shape too.
TEST_F(Profile, WriteRefusesTextsThatWouldBreakTheLineStructure) {
  const std::string before = "[Sorrelscan]\r\nrefscanlog=0\r\n";
  const struct {
    std::string section;
    std::string key;
    std::string value;
  } cases[] = {
      {"Sorrelscan", "refscanlog", "1\r\nCompactDatabase=1"},
      {"Sorrelscan", "refscanlog", "1\n[x]"},
      {"Sorrelscan", "a=b", "1"},
      {"Sorrelscan", "", "1"},
      {"Sorrelscan", "  ", "1"},
      {"Sorrelscan", "[k", "1"},
      {"Sorrelscan", ";k", "1"},
      {"Sorrel]scan", "k", "1"},
      {"", "k", "1"},
      {"Sorrel\nscan", "k", "1"},
  };
  for (const auto& c : cases) {
    writeFile(file, before);
    EXPECT_EQ(qevWriteProfileString(file, c.section, c.key, c.value), 0) << c.key << c.value;
    EXPECT_EQ(readFile(file), before);
  }
  EXPECT_EQ(qevWriteProfileString(temp.path() + "/nodir/x.ini", "s", "k", "v"), 0);
  EXPECT_EQ(qevWriteProfileString("", "s", "k", "v"), 0);
}

// Writes key<i>=<i> for i in [first, first + count) from a child process; answers the child.
pid_t writeKeysInChild(const std::string& file, int first, int count) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  int failures = 0;
  for (int i = first; i < first + count; ++i) {
    if (qevWriteProfileString(file, "Sorrelscan", "key" + std::to_string(i), std::to_string(i)) != 1) {
      ++failures;
    }
  }
  _exit(failures == 0 ? 0 : 1);
}

bool exitedCleanly(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Both programs update the same file: neither may erase a key the other just wrote.
TEST_F(Profile, ConcurrentWritersOfDifferentKeysLoseNone) {
  constexpr int kKeysEach = 150;
  const pid_t first = writeKeysInChild(file, 0, kKeysEach);
  const pid_t second = writeKeysInChild(file, kKeysEach, kKeysEach);
  EXPECT_TRUE(exitedCleanly(first));
  EXPECT_TRUE(exitedCleanly(second));
  for (int i = 0; i < 2 * kKeysEach; ++i) {
    EXPECT_EQ(qevReadProfileInt(file, "Sorrelscan", "key" + std::to_string(i), -1), i);
  }
}

// A reader never meets a half-written file: every version it can see carries the first key.
TEST_F(Profile, ReadersNeverSeeAPartlyWrittenFile) {
  ASSERT_EQ(qevWriteProfileString(file, "Sorrelscan", "marker", "1"), 1);
  const pid_t writer = writeKeysInChild(file, 0, 300);
  int misses = 0;
  int status = 0;
  while (waitpid(writer, &status, WNOHANG) == 0) {
    if (qevReadProfileInt(file, "Sorrelscan", "marker", 0) != 1) ++misses;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(misses, 0);
}

TEST(Settings, LiveInSorrelscanIniOfTheProgramDirectory) {
  TemporaryDir temp;
  qevOverrideExeDirForTesting(temp.path());
  EXPECT_EQ(qevSettingsPath(), temp.path() + "/Sorrelscan.ini");
  EXPECT_EQ(qevReadSettingInt("refscanlog", 5), 5);
  EXPECT_EQ(qevWriteSetting("refscanlog", "1"), 1);
  EXPECT_EQ(qevWriteSetting("CompactDatabase", "0"), 1);
  EXPECT_EQ(readFile(temp.path() + "/Sorrelscan.ini"),
            "[Sorrelscan]\r\nrefscanlog=1\r\nCompactDatabase=0\r\n");
  EXPECT_EQ(qevReadSettingInt("refscanlog", 5), 1);
  EXPECT_EQ(qevReadSetting("CompactDatabase"), "0");
  EXPECT_EQ(qevReadSetting("ReportTime", "none"), "none");

  qevOverrideExeDirForTesting("relative");  // no program directory
  EXPECT_EQ(qevSettingsPath(), "");
  EXPECT_EQ(qevWriteSetting("refscanlog", "1"), 0);
  EXPECT_EQ(qevReadSettingInt("refscanlog", 5), 5);
  qevOverrideExeDirForTesting("");
}

}  // namespace
