#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/files/long_path.h"
#include "common/platform/files.h"
#include "common/text/text_codec.h"
#include "support/deep_tree.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

class LongPath : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(base + "/file", "hello");
    writeFile(base + "/empty", "");
    fs::create_directory(base + "/dir");
    fs::create_symlink(base + "/file", base + "/link");
    fs::create_symlink(base + "/nowhere", base + "/dangling");
  }
  TemporaryDir temp;
  const std::string base = temp.path();
};

TEST_F(LongPath, KindTellsAMissingFileFromAMissingPath) {
  const struct {
    std::u16string path;
    int kind;
  } cases[] = {
      {wide(base + "/file"), 1},
      {wide(base + "/dir"), 2},
      {wide(base + "/dir/"), 2},
      {wide(base + "/link"), 1},      // a link is its own entry, never followed
      {wide(base + "/dangling"), 1},
      {wide(base + "/missing"), 3},   // the parent exists
      {wide(base + "/dir/missing"), 3},
      {wide(base + "/nodir/missing"), 4},
      {wide(base + "/file/missing"), 4},  // the parent is no directory
      {u"relative/file", 0},
      {u"", 0},
      {u"/", 0},  // shorter than two characters
      {u"/" + std::u16string(kMaxLongPath, u'a'), 0},
      {wide(base) + u"/\xd800", 0},  // no byte form
  };
  for (const auto& c : cases) {
    EXPECT_EQ(qevGetPathKind(c.path), c.kind) << std::string(c.path.begin(), c.path.end());
  }
}

TEST_F(LongPath, InfoGivesTheSizeOfFilesOnly) {
  const struct {
    std::u16string path;
    int code;
    std::uint64_t size;
  } cases[] = {
      {wide(base + "/file"), 1, 5},
      {wide(base + "/empty"), 1, 0},
      {wide(base + "/dir"), 2, 0},
      {wide(base + "/missing"), 0, 0},
      {wide(base + "/nodir/missing"), 0, 0},
      {u"file", 0, 0},
  };
  for (const auto& c : cases) {
    std::uint64_t size = 99;
    EXPECT_EQ(qevGetPathInfo(c.path, size), c.code);
    EXPECT_EQ(size, c.size);
  }
}

TEST_F(LongPath, CreateParentMakesEveryLevelAboveTheFile) {
  writeFile(base + "/blocker", "x");
  const struct {
    std::string path;
    int code;
    std::string mustExist;
  } cases[] = {
      {base + "/x/y/z.txt", 1, base + "/x/y"},
      {base + "/x/y/other.txt", 1, base + "/x/y"},  // already there
      {base + "//p///q/f", 1, base + "/p/q"},
      {base + "/" + std::string(255, 'n') + "/f", 1, base + "/" + std::string(255, 'n')},
      {base + "/blocker/sub/f", 0, ""},
      {base + "/" + std::string(260, 'n') + "/f", 0, ""},  // a level of more than 259
      {base + "/linked/f", 1, base + "/linked"},
  };
  fs::create_directory(base + "/target");
  fs::create_directory_symlink(base + "/target", base + "/linked");  // a link to a directory serves
  for (const auto& c : cases) {
    EXPECT_EQ(qevCreateLongPathParent(wide(c.path)), c.code) << c.path;
    if (!c.mustExist.empty()) {
      EXPECT_TRUE(fs::is_directory(c.mustExist)) << c.mustExist;
    }
  }
  EXPECT_EQ(qevCreateLongPathParent(u"/z.txt"), 0) << "a file directly below the root";
  EXPECT_EQ(qevCreateLongPathParent(u"z.txt"), 0);
  EXPECT_EQ(qevCreateLongPathParent(u"/a"), 0);
}

TEST_F(LongPath, CreateParentWorksBeyondPathMaxUpTo886LevelsBelowTheRoot) {
  std::string deep = base;
  for (int level = 0; level < 25; ++level) deep += "/" + std::string(200, static_cast<char>('a' + level));
  ASSERT_GT(deep.size(), static_cast<std::size_t>(PATH_MAX));
  EXPECT_EQ(qevCreateLongPathParent(wide(deep + "/file")), 1);
  EXPECT_EQ(qevGetPathKind(wide(deep)), 2);

  // The level bound: the existing chain is walked, one level more is refused untouched.
  const int baseLevels = static_cast<int>(std::count(base.begin(), base.end(), '/'));
  const std::string chain = makeDeepTree(base, 886 - baseLevels, "c");
  EXPECT_EQ(qevCreateLongPathParent(wide(chain + "/file")), 1);
  EXPECT_EQ(qevCreateLongPathParent(wide(chain + "/more/file")), 0);
  EXPECT_EQ(qevGetPathKind(wide(chain + "/more")), 3);
  removeDeepTree(base + "/c");
}

TEST_F(LongPath, WholeFileReadNeedsANonEmptyFileSmallerThanTheCapacity) {
  const struct {
    std::string path;
    std::uint64_t capacity;
    int code;
    std::uint64_t bytesRead;
  } cases[] = {
      {base + "/file", 6, 1, 5},
      {base + "/file", 15, 1, 5},
      {base + "/file", 5, 0, 0},  // size not smaller than the capacity
      {base + "/file", 0, 0, 0},
      {base + "/file", kMaxFileBytes + 11, 0, 0},
      {base + "/empty", 10, 0, 0},
      {base + "/dir", 10, 0, 0},
      {base + "/missing", 10, 0, 0},
      {base + "/link", 10, 0, 0},  // a link is not followed to what it names
  };
  for (const auto& c : cases) {
    std::vector<char> buffer(16, '\0');
    std::uint64_t bytesRead = 99;
    std::uint64_t fileSize = 99;
    EXPECT_EQ(qevReadWholeFile(wide(c.path), buffer.data(), c.capacity, bytesRead, fileSize),
              c.code)
        << c.path << " " << c.capacity;
    EXPECT_EQ(bytesRead, c.bytesRead);
    if (c.code == 1) {
      EXPECT_EQ(fileSize, 5u);
      EXPECT_EQ(std::string(buffer.data(), bytesRead), "hello");
    }
  }
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;
  EXPECT_EQ(qevReadWholeFile(wide(base + "/file"), nullptr, 10, bytesRead, fileSize), 0);
}

TEST_F(LongPath, WholeFileWriteCreatesOrTruncates) {
  writeFile(base + "/old", "a much longer old content");
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/new"), "fresh", 5), 1);
  EXPECT_EQ(readFile(base + "/new"), "fresh");
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/old"), "short", 5), 1);
  EXPECT_EQ(readFile(base + "/old"), "short");

  EXPECT_EQ(qevWriteWholeFile(wide(base + "/zero"), "x", 0), 0);
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/null"), nullptr, 3), 0);
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/nodir/f"), "x", 1), 0);
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/dir"), "x", 1), 0);
  EXPECT_EQ(qevWriteWholeFile(u"relative", "x", 1), 0);
  EXPECT_FALSE(fs::exists(base + "/zero"));
  EXPECT_FALSE(fs::exists(base + "/null"));
}

// A link planted in a website tree must not redirect a write to the file it names.
TEST_F(LongPath, WholeFileWriteDoesNotFollowAFinalLink) {
  EXPECT_EQ(qevWriteWholeFile(wide(base + "/link"), "evil", 4), 0);
  EXPECT_EQ(readFile(base + "/file"), "hello");
}

TEST_F(LongPath, NamesThatAreNotUtf8AreFoundAndMadeByteForByte) {
  const std::string latin1 = "caf\xe9.txt";
  writeFile(base + "/" + latin1, "bytes");
  // The name as the directory listing gives it, converted to a long path and used again.
  std::string listed;
  DIR* dir = opendir(base.c_str());
  while (const dirent* entry = readdir(dir)) {
    if (std::string(entry->d_name).rfind("caf", 0) == 0) listed = entry->d_name;
  }
  closedir(dir);
  ASSERT_EQ(listed, latin1);
  const std::u16string longPath = wide(base + "/" + listed);
  EXPECT_EQ(qevGetPathKind(longPath), 1);
  char buffer[16] = {};
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;
  EXPECT_EQ(qevReadWholeFile(longPath, buffer, sizeof buffer, bytesRead, fileSize), 1);
  EXPECT_EQ(std::string(buffer, bytesRead), "bytes");

  EXPECT_EQ(qevWriteWholeFile(wide(base) + u"/x\xdcff", "made", 4), 1);
  EXPECT_EQ(readFile(base + "/x\xff"), "made");
}

// Website trees can nest far deeper than PATH_MAX; every long-path operation still reaches them.
TEST_F(LongPath, EveryOperationWorksFiveThousandLevelsDown) {
  const std::string deep = makeDeepTree(base, 5000);
  ASSERT_GT(deep.size(), static_cast<std::size_t>(PATH_MAX) * 2);
  EXPECT_EQ(qevGetPathKind(wide(deep)), 2);
  EXPECT_EQ(qevGetPathKind(wide(deep + "/file")), 3);
  EXPECT_EQ(qevGetPathKind(wide(deep + "/gone/file")), 4);

  EXPECT_EQ(qevWriteWholeFile(wide(deep + "/file"), "deep bytes", 10), 1);
  std::uint64_t size = 0;
  EXPECT_EQ(qevGetPathInfo(wide(deep + "/file"), size), 1);
  EXPECT_EQ(size, 10u);
  char buffer[32] = {};
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;
  EXPECT_EQ(qevReadWholeFile(wide(deep + "/file"), buffer, sizeof buffer, bytesRead, fileSize), 1);
  EXPECT_EQ(std::string(buffer, bytesRead), "deep bytes");

  EXPECT_TRUE(sorrel::platform::moveNoReplace(deep + "/file", base + "/d/moved"));
  EXPECT_EQ(qevGetPathKind(wide(deep + "/file")), 3);
  EXPECT_EQ(readFile(base + "/d/moved"), "deep bytes");
  removeDeepTree(base + "/d");
}

TEST_F(LongPath, MoveNeverReplacesAnExistingTarget) {
  writeFile(base + "/other", "other");
  EXPECT_FALSE(sorrel::platform::moveNoReplace(base + "/file", base + "/other"));
  EXPECT_EQ(readFile(base + "/file"), "hello");
  EXPECT_EQ(readFile(base + "/other"), "other");
  EXPECT_FALSE(sorrel::platform::moveNoReplace(base + "/missing", base + "/somewhere"));
  EXPECT_TRUE(sorrel::platform::moveNoReplace(base + "/dir", base + "/dir2"));
  EXPECT_TRUE(fs::is_directory(base + "/dir2"));
}

}  // namespace
