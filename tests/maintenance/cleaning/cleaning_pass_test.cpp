#include "maintenance/cleaning/cleaning_pass.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "common/files/long_path.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
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

std::string summary(unsigned moved, unsigned notCleaned) {
  return "清理文件完成。成功清理 " + std::to_string(moved) + " 个；未清理 " + std::to_string(notCleaned) +
         " 个。\r\n\r\n\r\n当前已清理的文件，已经备份到“硬盘:\\qev_dot_file_backup\\” 目录中";
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

#define RUN_IN_PRIVATE_MOUNT_NAMESPACE()   \
  if (!InPrivateMountNamespace()) {        \
    RerunInPrivateMountNamespace();        \
    return;                                \
  }

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
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(1, 0)}));
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
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(2, 4)}));
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
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(1, 1)}));
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

TEST_F(CleaningPassTest, SpecialEntryThatIsAMountPointIsSkipped) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string mounted = volume_ + "/web/con.";
  fs::create_directories(mounted);
  ASSERT_TRUE(MountTmpfs(mounted));
  writeFile(mounted + "/index.php", "site");
  addMarkedRow("mounted", mounted, 2);

  RecordedPass pass;
  EXPECT_EQ(qevRunCleaningPass(pass.hooks(), kDate, kTime).moved, 0u);
  EXPECT_EQ(readFile(mounted + "/index.php"), "site");
  EXPECT_EQ(rowValue("mounted", "CompactDatabase"), "2");
  EXPECT_EQ(pass.messages, std::vector<std::string>({summary(0, 1)}));
}

TEST_F(CleaningPassTest, NothingMarkedShowsTheZeroRecordsMessage) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  RecordedPass pass;
  const CleaningPassResult result = qevRunCleaningPass(pass.hooks(), kDate, kTime);
  EXPECT_FALSE(result.summarized);
  EXPECT_EQ(pass.messages, std::vector<std::string>({"获取到的需要清理的目录文件记录数为0，请先扫描文件！"}));
  EXPECT_EQ(pass.reloads, 0);
}

int rowsInState(const std::string& state) {
  std::string count;
  qevReadFirstValue("select count(*) as n from fileinfo where CompactDatabase = '" + state + "'", "n", count);
  return count.empty() ? 0 : std::stoi(count);
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
    qevRunCleaningPass(pass.hooks(), kDate, kTime);
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
