#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(Paths, CollapseSeparatorsLeavesOneSlashPerRun) {
  const struct {
    std::string given;
    std::string collapsed;
  } cases[] = {
      {"/srv//www", "/srv/www"}, {"///", "/"}, {"/a/b/", "/a/b/"}, {"a////b", "a/b"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(qevCollapseSeparators(c.given), c.collapsed) << c.given;
}

TEST(Paths, ProgramPathAppendsToTheProgramDirectory) {
  qevOverrideExeDirForTesting("/opt/sorrel");
  EXPECT_EQ(qevProgramPath("config//ScanDir.txt"), "/opt/sorrel/config/ScanDir.txt");
  EXPECT_EQ(qevProgramPath("/Sorrelscan.ini"), "/opt/sorrel/Sorrelscan.ini");
  qevOverrideExeDirForTesting("relative");
  EXPECT_EQ(qevProgramPath("Sorrelscan.ini"), "");
  qevOverrideExeDirForTesting("");
}

TEST(Paths, PathExistsSeesFilesDirectoriesAndLinksWithinTheLengthBounds) {
  TemporaryDir temp;
  const std::string base = temp.path();
  std::ofstream(base + "/file") << "x";
  fs::create_directory(base + "/dir");
  ASSERT_EQ(symlink("missing-target", (base + "/dangling").c_str()), 0);
  const struct {
    std::string path;
    int code;
  } cases[] = {
      {base + "/file", 1},
      {base + "/dir", 1},
      {base + "/dangling", 1},  // the link itself exists
      {base + "/missing", 0},
      {base + "/file/below", 0},
      {"/", 0},
      {"/tm", 0},  // three bytes: not looked at
      {"", 0},
      {base + "/" + std::string(259 - base.size(), 'x'), 0},  // 260 bytes
  };
  for (const auto& c : cases) EXPECT_EQ(qevPathExists(c.path), c.code) << c.path;
}

TEST(Paths, CreateDirectoryChainMakesEveryMissingLevel) {
  TemporaryDir temp;
  const std::string base = temp.path();
  std::ofstream(base + "/file") << "x";
  const struct {
    std::string path;
    int code;
    std::string mustExist;
  } cases[] = {
      {base + "/a//b///c", 1, base + "/a/b/c"},  // doubled separators are one
      {base + "/a/b/c/", 1, base + "/a/b/c"},    // already there
      {base + "/d/e", 1, base + "/d/e"},
      {base + "/file/sub", 0, ""},  // a file in the way
      {"///", 0, ""},               // only the root
      {"relative/dir", 0, ""},
      {"/" + std::string(260, 'x'), 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qevCreateDirectoryChain(c.path), c.code) << c.path;
    if (!c.mustExist.empty()) {
      EXPECT_TRUE(fs::is_directory(c.mustExist)) << c.mustExist;
    }
  }
}

}  // namespace
