#include "maintenance/cleaning/cleaning_pass.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

#include "common/files/long_path.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "support/companions.h"
#include "support/deep_tree.h"
#include "support/mount_namespace.h"
#include "support/program_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kDate = "2012-05-01";
constexpr const char* kTime = "10-20-30";

std::string storedPath(const std::string& path) {
  std::u16string wide;
  EXPECT_EQ(qevAnsiToWide(path, wide), 1);
  return qevEncodeStoredName(wide);
}

void writeFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Records a row as the scanner does and marks it for cleaning.
void addMarkedRow(const std::string& id, const std::string& path, int kind) {
  ASSERT_EQ(qevExecuteSql("insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, "
                          "filesize2, CompactDatabase, filechkval, fileinfo, filetype) values ('1', "
                          "'2012-05-01', '" + id + "', 'bmFtZQ==', '" + storedPath(path) +
                          "', 0, 0, '2', '', '未处理', " + std::to_string(kind) + ")"),
            1);
}

std::string rowValue(const std::string& id, const std::string& column) {
  std::string value;
  qevReadLatestValue("fileinfo", "filenameid", id, "id", column, value);
  return value;
}

struct RecordedPass {
  std::vector<std::string> messages;
  std::vector<int> positions;
  int progressMaximum = -1;
  int reloads = 0;
  int activeChecksLeft = 1 << 30;  // the operator presses stop when this reaches 0

  CleaningPassHooks hooks() {
    return CleaningPassHooks{
        [this](int maximum) { progressMaximum = maximum; },
        [this](int position) { positions.push_back(position); },
        [this] { return activeChecksLeft-- > 0; },
        [this](const std::string& text, MessageIcon) { messages.push_back(text); },
        [this] { ++reloads; },
    };
  }
};

// The summary names the backup directory of each volume the pass prepared.
std::string summary(unsigned moved, unsigned notCleaned, const std::vector<std::string>& directories) {
  std::string text = "清理文件完成。成功清理 " + std::to_string(moved) + " 个；未清理 " + std::to_string(notCleaned) + " 个。";
  if (directories.empty()) return text;
  text += "\r\n\r\n\r\n当前已清理的文件，已经备份到“" + directories[0] + "”";
  for (std::size_t i = 1; i < directories.size(); ++i) text += "、“" + directories[i] + "”";
  return text + " 目录中";
}

int rowsInState(const std::string& state) {
  std::string count;
  qevReadFirstValue("select count(*) as n from fileinfo where CompactDatabase = '" + state + "'", "n", count);
  return count.empty() ? 0 : std::stoi(count);
}

class CleaningPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!InPrivateMountNamespace()) return;
    volume_ = work_.path() + "/vol";
    otherVolume_ = work_.path() + "/vol2";
    fs::create_directories(volume_);
    fs::create_directories(otherVolume_);
    ASSERT_TRUE(MountTmpfs(volume_));
    ASSERT_TRUE(MountTmpfs(otherVolume_));
  }

  std::string backupOf(const std::string& volume) const {
    return volume + "/qev_dot_file_backup/" + kDate + "/" + kTime;
  }

  TemporaryDir work_;
  TemporaryProgramDir program_;
  std::string volume_;
  std::string otherVolume_;
};

TEST_F(CleaningPassTest, MovesEntryBelowDatedBackupTreeKeepingItsPath) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFile(volume_ + "/web/a/con.", "shell");
  addMarkedRow("r1", volume_ + "/web/a/con.", 1);

  RecordedPass pass;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);

  EXPECT_EQ(result.moved, 1u);
  EXPECT_FALSE(fs::exists(fs::symlink_status(volume_ + "/web/a/con.")));
  EXPECT_EQ(readFile(backupOf(volume_) + "/web/a/con."), "shell");
  EXPECT_EQ(rowValue("r1", "CompactDatabase"), "1");
  EXPECT_EQ(rowValue("r1", "fileinfo"), kMovedText);
  EXPECT_EQ(pass.progressMaximum, 1);
  EXPECT_EQ(pass.positions, std::vector<int>({1}));
  EXPECT_EQ(pass.reloads, 1);
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(1, 0, {backupOf(volume_)})}));
}

TEST_F(CleaningPassTest, HandlesMissingBackedUpDuplicateAndNestedEntries) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFile(volume_ + "/qev_dot_file_backup/old/nul", "kept");
  writeFile(volume_ + "/web/prn/aux.php", "inner");
  writeFile(volume_ + "/web/lpt1", "twice");
  addMarkedRow("missing", volume_ + "/web/gone.", 1);
  addMarkedRow("backedup", volume_ + "/qev_dot_file_backup/old/nul", 1);
  addMarkedRow("dir", volume_ + "/web/prn", 2);
  addMarkedRow("inner", volume_ + "/web/prn/aux.php", 1);
  addMarkedRow("dup1", volume_ + "/web/lpt1", 1);
  addMarkedRow("dup2", volume_ + "/web/lpt1", 1);

  RecordedPass pass;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);

  EXPECT_EQ(result.taken, 6u);
  EXPECT_EQ(result.moved, 2u);  // the directory (with its inner entry) and the first lpt1 visit
  EXPECT_EQ(readFile(backupOf(volume_) + "/web/prn/aux.php"), "inner");
  EXPECT_EQ(readFile(backupOf(volume_) + "/web/lpt1"), "twice");
  EXPECT_EQ(readFile(volume_ + "/qev_dot_file_backup/old/nul"), "kept");

  struct Expected {
    const char* id;
    const char* state;
    const char* text;
  };
  const Expected rows[] = {
      {"missing", "1", kMissingText},
      {"backedup", "2", "未处理"},       // already in the backup root: left alone
      {"dir", "1", kMovedText},
      {"inner", "1", kMissingText},      // went along with its directory
      {"dup1", "1", kMissingText},       // the second visit overwrote both rows
      {"dup2", "1", kMissingText},
  };
  for (const Expected& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(rowValue(row.id, "CompactDatabase"), row.state);
    EXPECT_EQ(rowValue(row.id, "fileinfo"), row.text);
  }
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(2, 4, {backupOf(volume_)})}));
}

TEST_F(CleaningPassTest, StopEndsPassBeforeNextEntryAndStillSummarizes) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFile(volume_ + "/a/com1", "1");
  writeFile(volume_ + "/a/com2", "2");
  addMarkedRow("first", volume_ + "/a/com1", 1);
  addMarkedRow("second", volume_ + "/a/com2", 1);

  RecordedPass pass;
  pass.activeChecksLeft = 1;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);

  EXPECT_EQ(result.moved, 1u);
  EXPECT_TRUE(fs::exists(volume_ + "/a/com2"));
  EXPECT_EQ(rowValue("second", "CompactDatabase"), "2");
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(1, 1, {backupOf(volume_)})}));
}

TEST_F(CleaningPassTest, EntriesOnTwoVolumesShareDateAndTimeOnTheirOwnVolume) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFile(volume_ + "/x/aux", "one");
  writeFile(otherVolume_ + "/y/aux", "two");
  addMarkedRow("one", volume_ + "/x/aux", 1);
  addMarkedRow("two", otherVolume_ + "/y/aux", 1);

  RecordedPass pass;
  EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 2u);
  EXPECT_EQ(readFile(backupOf(volume_) + "/x/aux"), "one");
  EXPECT_EQ(readFile(backupOf(otherVolume_) + "/y/aux"), "two");
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(2, 0, {backupOf(volume_), backupOf(otherVolume_)})}));
}

TEST_F(CleaningPassTest, EntryReachedThroughLinkToAnotherVolumeIsSkipped) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFile(otherVolume_ + "/real/nul", "elsewhere");
  fs::create_directory_symlink(otherVolume_ + "/real", volume_ + "/linked");
  addMarkedRow("linked", volume_ + "/linked/nul", 1);

  RecordedPass pass;
  EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 0u);
  EXPECT_EQ(readFile(otherVolume_ + "/real/nul"), "elsewhere");
  EXPECT_EQ(rowValue("linked", "CompactDatabase"), "2");
}

TEST_F(CleaningPassTest, EntryWithAMountPointAtOrBelowItStaysInPlace) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  struct Case {
    const char* name;
    std::string entry;
    std::string mountPoint;
    std::vector<std::string> backupDirectories;
  };
  const Case cases[] = {
      {"the entry is a mount point", volume_ + "/web/con.", volume_ + "/web/con.", {}},  // a volume root itself
      {"a mount point below the entry", volume_ + "/web/prn", volume_ + "/web/prn/uploads/2012", {backupOf(volume_)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directories(c.mountPoint);
    ASSERT_TRUE(MountTmpfs(c.mountPoint));
    writeFile(c.mountPoint + "/index.php", "site");
    ASSERT_EQ(qevExecuteSql("delete from fileinfo"), 1);
    addMarkedRow("mounted", c.entry, 2);

    RecordedPass pass;
    EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 0u);
    EXPECT_EQ(readFile(c.mountPoint + "/index.php"), "site");
    EXPECT_FALSE(fs::exists(backupOf(volume_) + c.entry.substr(volume_.size())));
    EXPECT_EQ(rowValue("mounted", "CompactDatabase"), "2");
    EXPECT_EQ(pass.messages, std::vector<std::string>({summary(0, 1, c.backupDirectories)}));
  }
}

TEST_F(CleaningPassTest, LinkAnywhereInTheBackupTreeNeverRedirectsAnEntry) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string root = volume_ + "/qev_dot_file_backup";
  struct Case {
    std::string link;  // made a link to a served directory of the same volume
    bool reported;     // the backup directory itself cannot be made
  };
  const Case cases[] = {
      {root, true},
      {root + "/" + kDate, true},
      {backupOf(volume_), true},
      {backupOf(volume_) + "/web", false},  // a directory the pass creates below the backup directory
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    fs::remove_all(root);
    fs::remove_all(volume_ + "/served");
    fs::create_directories(volume_ + "/served");
    fs::create_directories(fs::path(c.link).parent_path());
    fs::create_directory_symlink(volume_ + "/served", c.link);
    writeFile(volume_ + "/web/con.", "shell");
    ASSERT_EQ(qevExecuteSql("delete from fileinfo"), 1);
    addMarkedRow("r1", volume_ + "/web/con.", 1);

    RecordedPass pass;
    EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 0u);
    EXPECT_EQ(readFile(volume_ + "/web/con."), "shell");
    EXPECT_TRUE(fs::is_empty(volume_ + "/served"));
    EXPECT_TRUE(fs::is_symlink(c.link));
    EXPECT_EQ(rowValue("r1", "CompactDatabase"), "2");
    const std::vector<std::string> expected =
        c.reported ? std::vector<std::string>{"建立备份目录 " + backupOf(volume_) + " 失败，请重试！", summary(0, 1, {})}
                   : std::vector<std::string>{summary(0, 1, {backupOf(volume_)})};
    EXPECT_EQ(pass.messages, expected);
  }
}

TEST_F(CleaningPassTest, UnusableBackupDirectoryIsReportedOnceAndKeepsEveryEntryOfItsVolume) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string checksumMessage =
      "文件“qevxconfig.exe”校验值错误，或无法访问，请重试！\r\n\r\n\r\n"
      "如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";
  struct Case {
    const char* name;
    std::function<void()> arrange;
    unsigned moved;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"the backup root is a plain file",
       [&] { writeFile(volume_ + "/qev_dot_file_backup", "not a directory"); },
       1,
       {"建立备份目录 " + backupOf(volume_) + " 失败，请重试！", summary(1, 3, {backupOf(otherVolume_)})}},
      {"the access tool fails its check (on each volume)",
       [&] {
         writeCompanion(program_.path(), "qevxconfig");
         writeFile(program_.path() + "qevxconfig", "#!/bin/sh\n# changed\n");
       },
       0,
       {checksumMessage, checksumMessage, summary(0, 4, {})}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(volume_ + "/qev_dot_file_backup");
    fs::remove_all(otherVolume_ + "/qev_dot_file_backup");
    fs::remove(program_.path() + "qevxconfig");
    c.arrange();
    ASSERT_EQ(qevExecuteSql("delete from fileinfo"), 1);
    for (int i = 0; i < 3; ++i) {
      writeFile(volume_ + "/web/nul." + std::to_string(i), "kept");
      addMarkedRow("kept" + std::to_string(i), volume_ + "/web/nul." + std::to_string(i), 1);
    }
    writeFile(otherVolume_ + "/web/nul", "other");
    addMarkedRow("other", otherVolume_ + "/web/nul", 1);

    RecordedPass pass;
    EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, c.moved);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(readFile(volume_ + "/web/nul." + std::to_string(i)), "kept");
      EXPECT_EQ(rowValue("kept" + std::to_string(i), "CompactDatabase"), "2");
    }
    EXPECT_EQ(pass.messages, c.messages);
  }
}

TEST_F(CleaningPassTest, PassTakesEveryRowTheListShowsAndCountsEveryMarkedRowNotCleaned) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  constexpr int kListRows = 10000;
  std::vector<std::string> rows;
  for (int i = 0; i <= kListRows; ++i) {  // one more than the list shows, as compaction marks them all
    rows.push_back("insert into fileinfo (filenameid, filepath, CompactDatabase, fileinfo) values ('g" +
                   std::to_string(i) + "', '" + storedPath(volume_ + "/gone/con." + std::to_string(i)) +
                   "', '2', '未处理')");
  }
  ASSERT_EQ(qevExecuteSqlList(rows), 1);

  RecordedPass pass;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);

  EXPECT_EQ(result.taken, static_cast<unsigned>(kListRows));
  EXPECT_EQ(rowsInState("1"), kListRows);
  EXPECT_EQ(rowValue("g" + std::to_string(kListRows), "CompactDatabase"), "2");
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(0, kListRows + 1, {backupOf(volume_)})}));
}

TEST_F(CleaningPassTest, NothingMarkedShowsTheZeroRecordsMessage) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  RecordedPass pass;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);
  EXPECT_FALSE(result.summarized);
  EXPECT_EQ(pass.messages, std::vector<std::string>({"获取到的需要清理的目录文件记录数为0，请先扫描文件！"}));
  EXPECT_EQ(pass.reloads, 0);
}


TEST_F(CleaningPassTest, KilledPassLosesNoEntryAndARestartFinishesTheRest) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  constexpr int kEntries = 400;
  auto source = [this](int i) { return volume_ + "/web/d" + std::to_string(i % 7) + "/con." + std::to_string(i); };
  auto content = [](int i) { return "entry " + std::to_string(i) + std::string(i % 50, '.'); };
  for (int i = 0; i < kEntries; ++i) {
    writeFile(source(i), content(i));
    addMarkedRow("e" + std::to_string(i), source(i), 1);
  }

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RecordedPass pass;
    CleaningPassHooks hooks = pass.hooks();
    // A pass outruns the poll below on a busy machine: each entry waits a little, so the kill
    // lands in the middle of the pass (in a move, between moves or in a row write).
    hooks.setProgressPosition = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
    qevRunCleaningPass(hooks, kDate, kTime);
    _exit(0);
  }
  while (rowsInState("1") < kEntries / 4) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the pass ended before it could be killed";

  const std::string firstBackup = backupOf(volume_);
  int handled = 0;
  for (int i = 0; i < kEntries; ++i) {
    SCOPED_TRACE(source(i));
    const std::string backedUp = firstBackup + source(i).substr(volume_.size());
    const bool atPlace = fs::exists(source(i));
    EXPECT_NE(atPlace, fs::exists(backedUp));  // at exactly one of the two places
    EXPECT_EQ(readFile(atPlace ? source(i) : backedUp), content(i));
    const std::string state = rowValue("e" + std::to_string(i), "CompactDatabase");
    EXPECT_TRUE(state == "1" || state == "2") << state;
    if (state == "1") {
      EXPECT_FALSE(atPlace);
    }
    handled += state == "1";
  }
  EXPECT_LT(handled, kEntries);

  RecordedPass restart;
  qevRunCleaningPass(restart.hooks(), kDate, "10-20-31");
  const std::string secondBackup = volume_ + "/qev_dot_file_backup/" + kDate + "/10-20-31";
  for (int i = 0; i < kEntries; ++i) {
    SCOPED_TRACE(source(i));
    const std::string below = source(i).substr(volume_.size());
    EXPECT_FALSE(fs::exists(source(i)));
    const std::string backedUp = fs::exists(firstBackup + below) ? firstBackup + below : secondBackup + below;
    EXPECT_EQ(readFile(backedUp), content(i));
  }
  EXPECT_EQ(rowsInState("1"), kEntries);
}

TEST_F(CleaningPassTest, EntriesBeyondPathMaxAreMovedToo) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string deep = makeDeepTree(volume_, 30, std::string(200, 'd'));
  ASSERT_GT(deep.size(), 4096u);
  std::u16string entry;
  ASSERT_EQ(qevAnsiToWide(deep + "/nul", entry), 1);
  ASSERT_EQ(qevWriteWholeFile(entry, "deep", 4), 1);
  addMarkedRow("deep", deep + "/nul", 1);

  RecordedPass pass;
  EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 1u);
  EXPECT_EQ(rowValue("deep", "fileinfo"), kMovedText);
  std::u16string backedUp;
  ASSERT_EQ(qevAnsiToWide(backupOf(volume_) + deep.substr(volume_.size()) + "/nul", backedUp), 1);
  EXPECT_EQ(qevGetPathKind(backedUp), 1);
  removeDeepTree(volume_ + "/qev_dot_file_backup");
  removeDeepTree(volume_ + "/" + std::string(200, 'd'));
}

}  // namespace
