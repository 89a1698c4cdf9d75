// The clean and stop commands of the main window and the confirmation dialog: what they refuse,
// which rows they mark, and the request and flag they leave for the cleaning worker.
#include <gtest/gtest.h>

#include "common/files/settings.h"
#include "console/clean_commands.h"
#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/rename_file_dlg.h"
#include "maintenance/cleaning/clean_request.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "support/lock_holder.h"

namespace {

using namespace command_id;

std::string rowState(const std::string& id, const std::string& column = "CompactDatabase") {
  std::string value;
  qevReadLatestValue("fileinfo", "filenameid", id, "id", column, value);
  return value;
}

class CleanCommandsTest : public MainWindowTest {
 protected:
  ~CleanCommandsTest() override {
    qevSetRenameDialogRunnerForTesting(nullptr);
    qevCleaningActive().set(0);
  }

  void openWithRows(const std::vector<std::string>& ids) {
    for (const std::string& id : ids) insertRow(entryRow(id, "/srv/web/" + id, 1));
    openWindow();
    qevInstallModuleCommands(*window);
  }
  void check(const std::string& id) { window->recordList().setChecked(rowOf(id), true); }
  std::vector<std::string> texts() const {
    std::vector<std::string> all;
    for (const auto& shown : prompter.shown()) all.push_back(shown.text);
    return all;
  }
};

TEST_F(CleanCommandsTest, RefusesAnEmptyListAndAListWithoutCheckedRows) {
  openWithRows({});
  window->dispatchCommand(kClean);
  window->close();
  openWithRows({"a"});
  window->dispatchCommand(kClean);
  EXPECT_EQ(texts(), (std::vector<std::string>{"请点“扫描特殊带点文件”，先搜索网站里包含特殊字符的目录文件！",
                                               "请先选择需要进行清理目录文件！"}));
  EXPECT_EQ(qevCleaningActive().get(), 0);
}

TEST_F(CleanCommandsTest, CancelledConfirmationChangesNothing) {
  openWithRows({"a", "b"});
  ASSERT_EQ(qevExecuteSql("update fileinfo set CompactDatabase = '2' where filenameid = 'b'"), 1);
  check("a");
  qevSetRenameDialogRunnerForTesting([](CReNameFileDlg&) { return int(QDialog::Rejected); });
  window->dispatchCommand(kClean);
  EXPECT_EQ(rowState("a"), "0");
  EXPECT_EQ(rowState("b"), "2");
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 0);
  EXPECT_EQ(qevCleaningActive().get(), 0);
}

TEST_F(CleanCommandsTest, ConfirmedCleaningMarksExactlyTheCheckedRowsEvenWhenTheListReloadsMeanwhile) {
  openWithRows({"a", "b", "c"});
  ASSERT_EQ(qevExecuteSql("update fileinfo set CompactDatabase = '2' where filenameid = 'b'"), 1);
  check("a");
  check("c");
  std::string shownPaths;
  qevSetRenameDialogRunnerForTesting([&](CReNameFileDlg& dialog) {
    shownPaths = dialog.pathText();
    qevReloadAllRecords();  // a watcher's reload while the dialog is open drops every check mark
    return int(QDialog::Accepted);
  });

  window->dispatchCommand(kClean);

  EXPECT_EQ(shownPaths, "/srv/web/a\r\n/srv/web/c\r\n");
  EXPECT_EQ(rowState("a"), "2");
  EXPECT_EQ(rowState("b"), "0");
  EXPECT_EQ(rowState("c"), "2");
  EXPECT_EQ(rowState("a", "filesize2"), "0");
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 1);
  EXPECT_EQ(qevCleaningActive().get(), 1);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, qevCleaningStartedMessage({"/srv/web/a", "/srv/web/c"}));
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Information);
}

TEST_F(CleanCommandsTest, MarkingThatMeetsABusyStoreShowsTheFailureChangesNoRowAndRaisesNoRequest) {
  openWithRows({"a", "b"});
  ASSERT_EQ(qevExecuteSql("update fileinfo set CompactDatabase = '2' where filenameid = 'b'"), 1);
  check("a");
  qevSetRenameDialogRunnerForTesting([](CReNameFileDlg&) { return int(QDialog::Accepted); });
  {
    // A scan between two commits holds the write lock the same way.
    const StoreWriteLock busy(programDir.store(), 200);
    window->dispatchCommand(kClean);
  }
  EXPECT_EQ(texts(), std::vector<std::string>{kMarkingFailedMessage});
  EXPECT_EQ(prompter.shown().back().icon, MessageIcon::Question);
  EXPECT_EQ(rowState("a"), "0");
  EXPECT_EQ(rowState("b"), "2") << "the earlier marks stay as they were";
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 0);
  EXPECT_EQ(qevCleaningActive().get(), 0);
}

TEST_F(CleanCommandsTest, StopWithdrawsOnlyARunningRequestAndOnlyOnYes) {
  struct Case {
    const char* name;
    int flag;
    PromptAnswer answer;
    int flagAfter;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"nothing running", 0, PromptAnswer::Yes, 0, {"当前未启动文件清理！"}},
      {"operator says no", 1, PromptAnswer::No, 1, {"确定停止清理文件吗？"}},
      {"operator says yes", 1, PromptAnswer::Yes, 0, {"确定停止清理文件吗？", "停止文件清理成功！"}},
  };
  openWithRows({"a"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter.clear();
    qevWriteSetting("CompactDatabase", std::to_string(c.flag));
    qevCleaningActive().set(c.flag);
    prompter.answerNext(c.answer);
    window->dispatchCommand(kStopCleaning);
    EXPECT_EQ(texts(), c.texts);
    EXPECT_EQ(qevCleaningActive().get(), c.flagAfter);
    EXPECT_EQ(qevReadSettingInt("CompactDatabase", -1), c.flagAfter);
  }
}

TEST_F(CleanCommandsTest, ConfirmationDialogClosesOnlyOnYes) {
  testApplication();
  CReNameFileDlg dialog(prompter, {"/srv/a/con.", "/srv/b/nul"});
  EXPECT_EQ(dialog.pathText(), "/srv/a/con.\r\n/srv/b/nul\r\n");
  prompter.answerNext(PromptAnswer::No);
  EXPECT_FALSE(dialog.onConfirm());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  prompter.answerNext(PromptAnswer::Yes);
  EXPECT_TRUE(dialog.onConfirm());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prompter.shown().back().text, "确定对选择的目录文件进行清理吗？");
}

}  // namespace
