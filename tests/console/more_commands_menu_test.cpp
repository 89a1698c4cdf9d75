// The "更多功能" menu: every hidden command under its caption, each entry running its id through
// the window's dispatch, disabled while the id has no handler.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMenu>
#include <QPushButton>
#include <set>

#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/more_commands_menu.h"

namespace {

using namespace command_id;
using MoreCommandsMenuTest = MainWindowTest;

QAction* entry(QMenu& menu, const std::string& caption) {
  for (QAction* action : menu.actions()) {
    if (action->text().toStdString() == caption) return action;
  }
  return nullptr;
}

TEST_F(MoreCommandsMenuTest, EveryHiddenCommandHasOneEntry) {
  const std::set<int> hidden = {kCompact,          kRestoreBackup, kMonitorRules,  kAlarmSettings,     kWhitelist,
                                kReportSuspicious, kShowWhitelistFiles, kShowSuspiciousFiles, kShowTrojanFiles,
                                kToday,            kYesterday,     kLastThreeDays,     kLastWeek,
                                kAllTime,          kCheckFilesRequest, kDeleteDuplicatesRequest, kServerManagement,
                                kDownloadLogs,     kDownloadAgain, kStopDownload,      kDownloadStatus,
                                kReimportLogs,     kShowLogRows};
  std::multiset<int> listed;
  std::set<std::string> captions;
  for (const MoreCommand& command : qevMoreCommands()) {
    if (command.caption == nullptr) continue;
    listed.insert(command.id);
    EXPECT_TRUE(captions.insert(command.caption).second) << command.caption;
  }
  for (const int id : hidden) EXPECT_EQ(listed.count(id), 1u) << id;

  openWindow();
  qevInstallModuleCommands(*window);
  for (const int id : listed) EXPECT_TRUE(window->knowsCommand(id)) << id;
  window->show();
  const QPushButton& button = window->moreCommandsButton();
  EXPECT_EQ(button.text().toStdString(), "更多功能");
  EXPECT_TRUE(button.isVisible());
  EXPECT_EQ(button.menu(), &window->moreCommandsMenu());
  // At the end of the button row, clear of "官方网站".
  const QRect vendor = window->control(kVendorWebSite)->geometry();
  const QRect last = window->control(kUncheckAll)->geometry();
  EXPECT_EQ(button.geometry().top(), vendor.top());
  EXPECT_GT(button.geometry().left(), last.right());
  EXPECT_LT(button.geometry().right(), vendor.left());
}

TEST_F(MoreCommandsMenuTest, EachEntryRunsItsIdAndIsDisabledWithoutAHandler) {
  openWindow();
  std::vector<int> called;
  for (const MoreCommand& command : qevMoreCommands()) {
    if (command.caption == nullptr) continue;
    const int id = command.id;
    window->setCommandHandler(id, [&called, id] { called.push_back(id); });
  }
  QMenu& menu = window->moreCommandsMenu();
  emit menu.aboutToShow();
  for (const MoreCommand& command : qevMoreCommands()) {
    if (command.caption == nullptr) continue;
    SCOPED_TRACE(command.caption);
    QAction* action = entry(menu, command.caption);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    called.clear();
    action->trigger();
    EXPECT_EQ(called, std::vector<int>({command.id}));
  }

  window->setCommandHandler(kServerManagement, nullptr);
  emit menu.aboutToShow();
  QAction* servers = entry(menu, "服务器管理");
  EXPECT_FALSE(servers->isEnabled());
  called.clear();
  servers->trigger();
  EXPECT_TRUE(called.empty());
}

TEST_F(MoreCommandsMenuTest, DisplayFilterEntriesShowAndSetTheirCheckBox) {
  openWindow();
  auto* box = qobject_cast<QAbstractButton*>(window->control(kShowWhitelistFiles));
  ASSERT_NE(box, nullptr);
  bool checkedWhenRun = false;
  window->setCommandHandler(kShowWhitelistFiles, [&] { checkedWhenRun = box->isChecked(); });
  QMenu& menu = window->moreCommandsMenu();
  emit menu.aboutToShow();
  QAction* action = entry(menu, "显示白名单文件");
  ASSERT_NE(action, nullptr);
  EXPECT_TRUE(action->isCheckable());
  EXPECT_FALSE(action->isChecked());
  action->trigger();
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(checkedWhenRun);
  action->trigger();
  EXPECT_FALSE(box->isChecked());
  box->setChecked(true);
  emit menu.aboutToShow();
  EXPECT_TRUE(action->isChecked());
}

TEST_F(MoreCommandsMenuTest, ModuleCommandsOfThisWindowAreEnabled) {
  openWindow();
  QMenu& menu = window->moreCommandsMenu();
  emit menu.aboutToShow();
  // Built into the window itself.
  for (const char* caption : {"显示今天的记录", "显示全部时间段的记录", "检查记录的文件是否存在", "删除重复记录"}) {
    SCOPED_TRACE(caption);
    EXPECT_TRUE(entry(menu, caption)->isEnabled());
  }
}

}  // namespace
