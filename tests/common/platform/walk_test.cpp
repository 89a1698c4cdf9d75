// The descriptor-based tree walk: order, kinds and sizes, links, and a tree that changes under it.
#include "common/platform/walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;
using sorrel::platform::WalkEntry;
using sorrel::platform::walkTree;

struct Visit {
  std::string path;
  std::string name;
  bool isDirectory;
  std::uint64_t size;
};

std::vector<Visit> walkAll(const std::string& root, const std::function<bool(const Visit&)>& descend =
                                                        [](const Visit&) { return true; }) {
  std::vector<Visit> visits;
  const bool listed = walkTree(root, [&](const WalkEntry& entry) {
    visits.push_back({*entry.path, std::string(entry.name), entry.isDirectory, entry.size});
    return descend(visits.back());
  });
  EXPECT_TRUE(listed) << root;
  return visits;
}

void write(const std::string& path, const std::string& bytes) { std::ofstream(path) << bytes; }

TEST(Walk, VisitsEveryEntryOnceEachDirectoryBeforeItsContentsAndDepthFirst) {
  TemporaryDir tree;
  const std::string root = tree.path();
  for (const char* directory : {"a", "a/b", "a/b/c", "d", "e", "e/f"}) fs::create_directory(root + "/" + directory);
  for (const char* file : {"top.txt", "a/one", "a/b/two", "a/b/c/three", "e/f/four", "e/five"}) {
    write(root + "/" + file, "12345");
  }
  const std::vector<Visit> visits = walkAll(root);
  ASSERT_EQ(visits.size(), 12u);
  std::map<std::string, std::size_t> position;
  for (std::size_t i = 0; i < visits.size(); ++i) {
    EXPECT_TRUE(position.emplace(visits[i].path, i).second) << "visited twice: " << visits[i].path;
    EXPECT_EQ(visits[i].path, fs::path(visits[i].path).parent_path().string() + "/" + visits[i].name);
  }
  for (std::size_t i = 0; i < visits.size(); ++i) {
    if (!visits[i].isDirectory) continue;
    // Everything below a directory follows it directly, as one block.
    const std::string prefix = visits[i].path + "/";
    std::size_t j = i + 1;
    while (j < visits.size() && visits[j].path.rfind(prefix, 0) == 0) ++j;
    for (std::size_t k = j; k < visits.size(); ++k) {
      EXPECT_NE(visits[k].path.rfind(prefix, 0), 0u) << visits[k].path << " is apart from " << visits[i].path;
    }
  }
}

TEST(Walk, ReportsKindsAndSizesAndNeverFollowsLinks) {
  TemporaryDir tree;
  const std::string root = tree.path();
  fs::create_directory(root + "/dir");
  write(root + "/dir/inside", "abc");
  write(root + "/file", "1234567");
  fs::create_directory_symlink(root, root + "/loop");
  fs::create_symlink("dir", root + "/link");
  std::map<std::string, Visit> byName;
  for (const Visit& visit : walkAll(root)) byName[visit.name] = visit;
  ASSERT_EQ(byName.size(), 5u);
  EXPECT_TRUE(byName["dir"].isDirectory);
  EXPECT_EQ(byName["dir"].size, 0u);
  EXPECT_EQ(byName["file"].size, 7u);
  EXPECT_EQ(byName["inside"].size, 3u);
  // Links are files of their own size (the length of the text they point to).
  EXPECT_FALSE(byName["loop"].isDirectory);
  EXPECT_EQ(byName["loop"].size, root.size());
  EXPECT_FALSE(byName["link"].isDirectory);
  EXPECT_EQ(byName["link"].size, 3u);
}

TEST(Walk, ADirectoryIsEnteredOnlyWhenTheVisitorAsks) {
  TemporaryDir tree;
  fs::create_directories(tree.path() + "/skip/deeper");
  fs::create_directories(tree.path() + "/take");
  write(tree.path() + "/take/kept", "");
  const auto visits = walkAll(tree.path(), [](const Visit& visit) { return visit.name != "skip"; });
  std::vector<std::string> names;
  for (const Visit& visit : visits) names.push_back(visit.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "skip", "take"}));
}

TEST(Walk, RootsThatCannotBeListedAnswerFalse) {
  TemporaryDir tree;
  write(tree.path() + "/file", "x");
  const std::string roots[] = {"", "relative", tree.path() + "/missing", tree.path() + "/file"};
  for (const std::string& root : roots) {
    bool visited = false;
    EXPECT_FALSE(walkTree(root, [&](const WalkEntry&) { return visited = true; })) << root;
    EXPECT_FALSE(visited);
  }
}

TEST(Walk, ARootEndingInASlashGivesSinglySeparatedPaths) {
  TemporaryDir tree;
  write(tree.path() + "/file", "x");
  const auto visits = walkAll(tree.path() + "/");
  ASSERT_EQ(visits.size(), 1u);
  EXPECT_EQ(visits[0].path, tree.path() + "/file");
}

TEST(Walk, ADirectoryMovedAwayDuringTheWalkStillLetsItFinishItsParent) {
  // root/x/y/file, then root/x/after. While y is being walked it is moved to root/z/y, so ".."
  // from y no longer leads to x: the walk must find x again and still visit x's later entries.
  TemporaryDir tree;
  const std::string root = tree.path();
  fs::create_directories(root + "/x/y");
  fs::create_directories(root + "/z");
  write(root + "/x/y/file", "");
  for (int i = 0; i < 20; ++i) write(root + "/x/after" + std::to_string(i), "");
  bool moved = false;
  std::vector<std::string> names;
  const bool listed = walkTree(root, [&](const WalkEntry& entry) {
    names.emplace_back(entry.name);
    if (entry.name == "file" && !moved) {
      fs::rename(root + "/x/y", root + "/z/y");
      moved = true;
    }
    return true;
  });
  EXPECT_TRUE(listed);
  ASSERT_TRUE(moved);
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& name) { return name.rfind("after", 0) == 0; }),
            20);
}

}  // namespace
