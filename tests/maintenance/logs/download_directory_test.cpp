// Where a downloaded log is stored: the name is replaced, never opened, so a link planted at it
// cannot send the content (or an empty file) anywhere else.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "maintenance/logs/download_directory.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(DownloadDirectory, StoringReplacesALinkAtTheNameInsteadOfFollowingIt) {
  const TemporaryDir work;
  const std::string directory = work.path() + "/fmlog/";
  fs::create_directories(directory);
  const std::string outside = work.path() + "/outside.txt";
  const std::string dangling = work.path() + "/created-through-the-link.txt";
  writeFile(outside, "keep me");

  struct Case {
    std::string name;
    std::string linkTarget;
  };
  for (const Case& test : {Case{"_10.0.0.1_FMLog_2026.txt", outside}, Case{"_10.0.0.1_FMLog_2027.txt", dangling}}) {
    SCOPED_TRACE(test.name);
    const std::string path = directory + test.name;
    ASSERT_EQ(symlink(test.linkTarget.c_str(), path.c_str()), 0);
    EXPECT_EQ(qevStoreDownloadedLog(path, "log line\r\n"), 1);
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(readFile(path), "log line\r\n");
  }
  EXPECT_EQ(readFile(outside), "keep me");
  EXPECT_FALSE(fs::exists(dangling));

  // Storing again replaces the whole file and leaves no temporary name behind.
  EXPECT_EQ(qevStoreDownloadedLog(directory + "_10.0.0.1_FMLog_2026.txt", "new"), 1);
  EXPECT_EQ(readFile(directory + "_10.0.0.1_FMLog_2026.txt"), "new");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(directory)) ++entries;
  EXPECT_EQ(entries, 2);
}

}  // namespace
