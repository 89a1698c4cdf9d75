#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "common/files/exe_dir.h"

namespace {

std::string executableFolder() {
  char buffer[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  const std::string path(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
  return path.substr(0, path.rfind('/') + 1);
}

TEST(ExeDir, IsTheFolderOfTheRunningExecutableWithATrailingSlash) {
  std::string dir;
  ASSERT_EQ(qevGetExeDir(dir), 1);
  EXPECT_EQ(dir, executableFolder());
  EXPECT_EQ(dir.front(), '/');
  EXPECT_EQ(dir.back(), '/');
}

TEST(ExeDir, AcceptsOnlyAbsoluteFoldersWithinTheLengthBounds) {
  const struct {
    std::string given;
    int code;
    std::string dir;
  } cases[] = {
      {"/opt/sorrel", 1, "/opt/sorrel/"},
      {"/opt/sorrel/", 1, "/opt/sorrel/"},
      {"//opt///sorrel//", 1, "/opt/sorrel/"},
      {"/a", 1, "/a/"},
      {"/" + std::string(258, 'd'), 1, "/" + std::string(258, 'd') + "/"},  // 260 bytes
      {"/" + std::string(259, 'd'), 0, ""},                                 // 261 bytes
      {"relative/sorrel", 0, ""},
  };
  for (const auto& c : cases) {
    qevOverrideExeDirForTesting(c.given);
    std::string dir = "stale";
    EXPECT_EQ(qevGetExeDir(dir), c.code) << c.given;
    EXPECT_EQ(dir, c.dir) << c.given;
  }
  qevOverrideExeDirForTesting("");
  std::string dir;
  ASSERT_EQ(qevGetExeDir(dir), 1);
  EXPECT_EQ(dir, executableFolder()) << "an empty override restores the real folder";
}

}  // namespace
