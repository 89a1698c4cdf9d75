// Restoring a backup directory of a cleaning pass: which entries go back, which stay, what
// becomes of the rows and of the backup tree, and which directories are refused.
#include "maintenance/restore/restore_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/files/long_path.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "maintenance/restore/backup_location.h"
#include "support/deep_tree.h"
#include "support/files.h"
#include "support/mount_namespace.h"
#include "support/program_dir.h"
#include "support/tree_snapshot.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMoved = "已清理；已移动到备份目录";
constexpr const char* kMissing = "已清理；文件或路径不存在，可能在这之前已经动到备份目录";

void addRow(const std::string& id, const std::string& path, const std::string& state, const std::string& text) {
  ASSERT_EQ(qevExecuteSql("insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, filesize2, "
                          "CompactDatabase, filechkval, fileinfo, filetype) values ('1', '2012-05-01', '" + id +
                          "', 'bmFtZQ==', '" + qevEncodeStoredName(wide(path)) + "', 0, 0, '" + state + "', '', '" +
                          text + "', 1)"),
            1);
}

std::string rowValue(const std::string& id, const std::string& column) {
  std::string value;
  qevReadLatestValue("fileinfo", "filenameid", id, "id", column, value);
  return value;
}

struct Recorded {
  std::vector<RestoreItem> items;
  RestoreHooks hooks() {
    return RestoreHooks{[this](const RestoreItem& item) { items.push_back(item); }};
  }
  std::vector<std::string> backupPathsWith(RestoreOutcome outcome) const {
    std::vector<std::string> paths;
    for (const RestoreItem& item : items) {
      if (item.outcome == outcome) paths.push_back(item.backupPath);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
  }
};

class RestorePassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!InPrivateMountNamespace()) return;
    volume_ = work_.path() + "/vol";
    otherVolume_ = work_.path() + "/vol2";
    fs::create_directories(volume_);
    fs::create_directories(otherVolume_);
    ASSERT_TRUE(MountTmpfs(volume_));
    ASSERT_TRUE(MountTmpfs(otherVolume_));
    backup_ = volume_ + "/qev_dot_file_backup/2012-05-01/10-20-30";
    fs::create_directories(backup_);
  }

  BackupLocation location() const {
    BackupLocation located;
    EXPECT_EQ(qevLocateBackupDirectory(backup_, located), BackupLocationCheck::Usable);
    return located;
  }

  RestoreResult restore(Recorded& recorded, bool dryRun = false) {
    return qevRestoreBackupTree(location(), dryRun, recorded.hooks());
  }

  TemporaryDir work_;
  TemporaryProgramDir program_;
  std::string volume_;
  std::string otherVolume_;
  std::string backup_;
};

TEST_F(RestorePassTest, EveryEntryGoesBackToItsPlaceWithItsRowsAndTheEmptiedBackupTreeGoes) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFileMakingParents(volume_ + "/web/index.html", "home");
  fs::create_directories(volume_ + "/web/a");
  writeFileMakingParents(backup_ + "/web/a/con.", "shell");
  writeFileMakingParents(backup_ + "/web/prn/aux.php", "inner");
  writeFileMakingParents(backup_ + "/web/prn/sub/x", "x");
  fs::create_symlink("/etc/passwd", backup_ + "/web/lpt1");
  writeFileMakingParents(backup_ + "/gone/nul", "parent deleted since");
  addRow("con", volume_ + "/web/a/con.", "1", kMoved);
  addRow("prn", volume_ + "/web/prn", "1", kMoved);
  addRow("inner", volume_ + "/web/prn/aux.php", "1", kMissing);  // went along with its directory
  addRow("lpt1", volume_ + "/web/lpt1", "1", kMoved);
  addRow("nul", volume_ + "/gone/nul", "1", kMoved);
  addRow("elsewhere", volume_ + "/other/com1", "1", kMoved);  // cleaned by another pass
  addRow("queued", volume_ + "/web/a/con.x", "2", "未处理");

  Recorded recorded;
  const RestoreResult result = restore(recorded);

  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.restored, 4u);
  EXPECT_EQ(result.placeTaken + result.notMoved, 0u);
  EXPECT_EQ(result.rowsReset, 5u);
  const TreeSnapshot expected = {
      {"/gone", "dir"},          {"/gone/nul", "file:parent deleted since"},
      {"/qev_dot_file_backup", "dir"},
      {"/web", "dir"},           {"/web/a", "dir"},
      {"/web/a/con.", "file:shell"}, {"/web/index.html", "file:home"},
      {"/web/lpt1", "link:/etc/passwd"},
      {"/web/prn", "dir"},       {"/web/prn/aux.php", "file:inner"},
      {"/web/prn/sub", "dir"},   {"/web/prn/sub/x", "file:x"},
  };
  EXPECT_EQ(snapshotTree(volume_), expected);

  struct Expected {
    const char* id;
    const char* state;
    const char* text;
  };
  const Expected rows[] = {
      {"con", "0", "未处理"},        {"prn", "0", "未处理"}, {"inner", "0", "未处理"},
      {"lpt1", "0", "未处理"},       {"nul", "0", "未处理"}, {"elsewhere", "1", kMoved},
      {"queued", "2", "未处理"},
  };
  for (const Expected& row : rows) {
    SCOPED_TRACE(row.id);
    EXPECT_EQ(rowValue(row.id, "CompactDatabase"), row.state);
    EXPECT_EQ(rowValue(row.id, "fileinfo"), row.text);
  }
}

TEST_F(RestorePassTest, EntriesWhosePlaceIsTakenStayInTheBackupTreeAndAreListed) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFileMakingParents(volume_ + "/web/con.", "new upload");
  writeFileMakingParents(volume_ + "/web/d/y", "taken");
  writeFileMakingParents(volume_ + "/web/prn", "a file where the directory was");
  fs::create_directory_symlink(volume_ + "/web/d", volume_ + "/web/linked");
  fs::create_directories(volume_ + "/web/real");
  writeFileMakingParents(backup_ + "/web/con.", "shell");
  writeFileMakingParents(backup_ + "/web/d/x", "free");
  writeFileMakingParents(backup_ + "/web/d/y", "old y");
  writeFileMakingParents(backup_ + "/web/prn/aux", "inner");
  writeFileMakingParents(backup_ + "/web/linked/z", "never through the link");
  fs::create_directory_symlink(volume_ + "/web/d", backup_ + "/web/real");
  addRow("con", volume_ + "/web/con.", "1", kMoved);
  addRow("x", volume_ + "/web/d/x", "1", kMoved);
  addRow("y", volume_ + "/web/d/y", "1", kMoved);

  Recorded recorded;
  const RestoreResult result = restore(recorded);

  EXPECT_EQ(result.restored, 1u);
  EXPECT_EQ(result.placeTaken, 5u);
  EXPECT_EQ(recorded.backupPathsWith(RestoreOutcome::PlaceTaken),
            (std::vector<std::string>{backup_ + "/web/con.", backup_ + "/web/d/y", backup_ + "/web/linked",
                                      backup_ + "/web/prn", backup_ + "/web/real"}));
  EXPECT_EQ(readFile(volume_ + "/web/d/x"), "free");
  EXPECT_EQ(readFile(volume_ + "/web/con."), "new upload");
  EXPECT_EQ(readFile(volume_ + "/web/d/y"), "taken");
  EXPECT_FALSE(fs::exists(volume_ + "/web/d/z"));
  const TreeSnapshot left = {
      {"/web", "dir"},          {"/web/con.", "file:shell"},  {"/web/d", "dir"},
      {"/web/d/y", "file:old y"}, {"/web/linked", "dir"},      {"/web/linked/z", "file:never through the link"},
      {"/web/prn", "dir"},      {"/web/prn/aux", "file:inner"}, {"/web/real", "link:" + volume_ + "/web/d"},
  };
  EXPECT_EQ(snapshotTree(backup_), left);
  EXPECT_EQ(rowValue("con", "CompactDatabase"), "1");
  EXPECT_EQ(rowValue("x", "CompactDatabase"), "0");
  EXPECT_EQ(rowValue("y", "CompactDatabase"), "1");
  EXPECT_EQ(rowValue("y", "fileinfo"), kMoved);
}

TEST_F(RestorePassTest, DryRunDecidesAlikeAndChangesNothing) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  writeFileMakingParents(volume_ + "/web/taken", "present");
  writeFileMakingParents(backup_ + "/web/taken", "backed up");
  writeFileMakingParents(backup_ + "/web/free/nul", "backed up");
  addRow("free", volume_ + "/web/free/nul", "1", kMissing);
  const TreeSnapshot before = snapshotTree(volume_);

  Recorded recorded;
  const RestoreResult result = restore(recorded, true);

  EXPECT_EQ(result.restored, 1u);
  EXPECT_EQ(result.placeTaken, 1u);
  EXPECT_EQ(recorded.backupPathsWith(RestoreOutcome::WouldRestore), std::vector<std::string>{backup_ + "/web/free"});
  EXPECT_EQ(snapshotTree(volume_), before);
  EXPECT_EQ(rowValue("free", "CompactDatabase"), "1");
}

TEST_F(RestorePassTest, MountPointsInTheBackupTreeStayWithWhatHoldsThem) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  fs::create_directories(volume_ + "/web");
  for (const std::string& mounted : {backup_ + "/web/mounted", backup_ + "/srv/holder/mounted"}) {
    fs::create_directories(mounted);
    ASSERT_TRUE(MountTmpfs(mounted));
    writeFileMakingParents(mounted + "/file", "other volume");
  }
  writeFileMakingParents(backup_ + "/web/aux", "ours");

  Recorded recorded;
  const RestoreResult result = restore(recorded);

  EXPECT_EQ(result.restored, 1u);
  // The one is a mount point itself; the other would carry one along with its directory.
  EXPECT_EQ(recorded.backupPathsWith(RestoreOutcome::NotMoved),
            (std::vector<std::string>{backup_ + "/srv", backup_ + "/web/mounted"}));
  EXPECT_EQ(readFile(volume_ + "/web/aux"), "ours");
  EXPECT_FALSE(fs::exists(volume_ + "/web/mounted"));
  EXPECT_FALSE(fs::exists(volume_ + "/srv"));
  EXPECT_EQ(readFile(backup_ + "/web/mounted/file"), "other volume");
  EXPECT_EQ(readFile(backup_ + "/srv/holder/mounted/file"), "other volume");
}

TEST_F(RestorePassTest, EntriesBeyondPathMaxGoBackToo) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string levelName(200, 'd');
  const std::string place = makeDeepTree(volume_, 30, levelName);
  const std::string backedUp = makeDeepTree(backup_, 30, levelName);
  ASSERT_GT(place.size(), 4096u);
  ASSERT_EQ(qevWriteWholeFile(wide(backedUp + "/nul"), "deep", 4), 1);
  addRow("deep", place + "/nul", "1", kMoved);

  Recorded recorded;
  EXPECT_EQ(restore(recorded).restored, 1u);
  EXPECT_EQ(qevGetPathKind(wide(place + "/nul")), 1);
  EXPECT_EQ(rowValue("deep", "CompactDatabase"), "0");
  EXPECT_FALSE(fs::exists(backup_));  // every emptied level removed, the backup directory too
  removeDeepTree(volume_ + "/" + levelName);
}

TEST_F(RestorePassTest, OnlyABackupDirectoryOfItsOwnVolumeIsAccepted) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const std::string root = volume_ + "/qev_dot_file_backup";
  fs::create_directories(root + "/2012-05-02");
  writeFileMakingParents(root + "/2012-05-02/10-20-30", "a file");
  fs::create_directory_symlink(root + "/2012-05-01", root + "/2012-05-03");
  fs::create_directories(volume_ + "/web/qev_dot_file_backup/2012-05-01/10-20-30");
  fs::create_directories(root + "/2012-05-01/may");
  // A volume mounted inside another one has its own backup root.
  fs::create_directories(volume_ + "/mnt");
  ASSERT_TRUE(MountTmpfs(volume_ + "/mnt"));
  fs::create_directories(volume_ + "/mnt/qev_dot_file_backup/2012-05-01/10-20-30");
  // A backup root that is another file system is not the volume's own.
  fs::create_directories(volume_ + "/mnt2/qev_dot_file_backup");
  ASSERT_TRUE(MountTmpfs(volume_ + "/mnt2/qev_dot_file_backup"));
  fs::create_directories(volume_ + "/mnt2/qev_dot_file_backup/2012-05-01/10-20-30");

  struct Case {
    std::string path;
    BackupLocationCheck expected;
  };
  const Case cases[] = {
      {backup_, BackupLocationCheck::Usable},
      {volume_ + "//qev_dot_file_backup/2012-05-01/10-20-30/", BackupLocationCheck::Usable},
      {volume_ + "/mnt/qev_dot_file_backup/2012-05-01/10-20-30", BackupLocationCheck::Usable},
      {root + "/2012-05-09/10-20-30", BackupLocationCheck::Missing},
      {root + "/2012-05-01", BackupLocationCheck::NotABackupDirectory},
      {backup_ + "/web", BackupLocationCheck::NotABackupDirectory},
      {root + "/2012-05-01/may", BackupLocationCheck::NotABackupDirectory},
      {root + "/2012-05-02/10-20-30", BackupLocationCheck::NotABackupDirectory},  // a file
      {root + "/2012-05-03/10-20-30", BackupLocationCheck::NotABackupDirectory},  // through a link
      {root + "/2012-05-01/../2012-05-01/10-20-30", BackupLocationCheck::NotABackupDirectory},
      {volume_ + "/web/qev_dot_file_backup/2012-05-01/10-20-30", BackupLocationCheck::NotABackupDirectory},
      {volume_ + "/mnt2/qev_dot_file_backup/2012-05-01/10-20-30", BackupLocationCheck::NotABackupDirectory},
      {"qev_dot_file_backup/2012-05-01/10-20-30", BackupLocationCheck::NotABackupDirectory},
      {"", BackupLocationCheck::NotABackupDirectory},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.path);
    BackupLocation located;
    EXPECT_EQ(qevLocateBackupDirectory(test.path, located), test.expected);
  }
  BackupLocation located;
  ASSERT_EQ(qevLocateBackupDirectory(volume_ + "//qev_dot_file_backup/2012-05-01/10-20-30/", located),
            BackupLocationCheck::Usable);
  EXPECT_EQ(located.directory, backup_);
  EXPECT_EQ(located.volumeRoot, volume_);
}

}  // namespace
