// The desktop program's restore command: folder picker, question, summary, and the record list
// showing the rows back.
#include <gtest/gtest.h>

#include <filesystem>

#include "console/command_ids.h"
#include "console/folder_picker.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "support/files.h"
#include "support/mount_namespace.h"
#include "support/tree_snapshot.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStateColumn = 5;

class RestoreBackupCommandTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!InPrivateMountNamespace()) return;
    volume_ = work_.path() + "/vol";
    fs::create_directories(volume_);
    ASSERT_TRUE(MountTmpfs(volume_));
    backup_ = volume_ + "/qev_dot_file_backup/2012-05-01/10-20-30";
    writeFileMakingParents(backup_ + "/web/con.", "shell");
    writeFileMakingParents(backup_ + "/web/aux", "backed up");
    writeFileMakingParents(volume_ + "/web/aux", "uploaded since");
    for (const char* name : {"con.", "aux"}) {
      StoredRow row = entryRow(name, volume_ + "/web/" + name, 1);
      row.state = "已清理；已移动到备份目录";
      insertRow(row);
    }
    ASSERT_EQ(qevExecuteSql("update fileinfo set CompactDatabase = '1'"), 1);
    openWindow();
    qevInstallModuleCommands(*window);
  }
  ~RestoreBackupCommandTest() override { qevSetFolderPickerForTesting(nullptr); }

  void pick(const std::string& folder) {
    qevSetFolderPickerForTesting([folder](QWidget*, std::string& path) {
      path = folder;
      return folder.empty() ? 0 : 1;
    });
  }

  TemporaryDir work_;
  std::string volume_;
  std::string backup_;
};

TEST_F(RestoreBackupCommandTest, ConfirmedRestoreShowsWhatStayedAndTheListShowsTheRowsBack) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  pick(backup_);
  prompter.answerNext(PromptAnswer::Yes);

  ASSERT_TRUE(window->dispatchCommand(command_id::kRestoreBackup));

  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNo);
  EXPECT_NE(prompter.shown()[0].text.find("确定将备份目录“" + backup_ + "”"), std::string::npos);
  EXPECT_EQ(prompter.shown()[1].icon, MessageIcon::Information);
  EXPECT_EQ(prompter.shown()[1].text,
            "恢复文件完成。成功恢复 1 个；未恢复 1 个（原来的位置已被占用 1 个）。\r\n\r\n\r\n"
            "未恢复的目录文件仍在备份目录中。\r\n\r\n原来的位置已被占用，留在备份目录中：" + backup_ + "/web/aux");
  EXPECT_EQ(readFile(volume_ + "/web/con."), "shell");
  EXPECT_EQ(readFile(volume_ + "/web/aux"), "uploaded since");
  EXPECT_EQ(window->recordList().text(rowOf("con."), kStateColumn), "未处理");
  EXPECT_EQ(window->recordList().text(rowOf("aux"), kStateColumn), "已清理；已移动到备份目录");
}

TEST_F(RestoreBackupCommandTest, NoPickNoAndAFolderThatIsNoBackupDirectoryChangeNothing) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  const TreeSnapshot before = snapshotTree(volume_);
  pick("");
  window->dispatchCommand(command_id::kRestoreBackup);
  EXPECT_TRUE(prompter.shown().empty());

  pick(backup_);
  prompter.answerNext(PromptAnswer::No);
  window->dispatchCommand(command_id::kRestoreBackup);
  ASSERT_EQ(prompter.shown().size(), 1u);

  pick(volume_ + "/web");
  window->dispatchCommand(command_id::kRestoreBackup);
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[1].icon, MessageIcon::Question);
  EXPECT_EQ(prompter.shown()[1].text.rfind("“" + volume_ + "/web”不是清理文件时建立的备份目录！", 0), 0u);
  EXPECT_EQ(snapshotTree(volume_), before);
}

}  // namespace
