// The monitor-log view in the desktop program, offscreen: command 1003 puts the imported rows in
// the record list's place with the log query below, the query and the display filters narrow
// them, the record list's commands bring the record list back, and the whitelist and report
// commands work on the checked rows through their dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <cstdlib>

#include "common/text/check_value.h"
#include "console/command_ids.h"
#include "console/confirm_texts_dlg.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/monitor_log_commands.h"
#include "console/monitor_log_model.h"
#include "console/monitor_log_view.h"
#include "maintenance/report/report_command.h"
#include "maintenance/report/whitelist_command.h"
#include "support/companions.h"
#include "support/files.h"
#include "support/monitor_log_rows.h"

namespace {

using namespace command_id;
namespace column = monitor_log_column;

LogRowFields logRow(const std::string& ip, const std::string& time, const std::string& category,
                    const std::string& path) {
  LogRowFields fields;
  fields.serverIp = ip;
  fields.time = time;
  fields.category = category;
  fields.path = path;
  return fields;
}

class MonitorLogViewTest : public MainWindowTest {
 protected:
  ~MonitorLogViewTest() override { qevSetConfirmDialogRunnerForTesting(nullptr); }

  MonitorLogView& openView() {
    openWindow();
    qevInstallMonitorLogCommands(*window);
    window->show();
    MonitorLogView* view = qevMonitorLogView(*window);
    EXPECT_NE(view, nullptr);
    return *view;
  }

  std::vector<std::string> viewColumn(MonitorLogView& view, int index) const {
    std::vector<std::string> texts;
    for (int row = 0; row < view.model().rows(); ++row) texts.push_back(view.model().text(row, index));
    return texts;
  }

  QComboBox& list(int id) const { return *qobject_cast<QComboBox*>(window->control(id)); }
  void choose(int id, const std::string& text) const {
    QComboBox& box = list(id);
    box.setCurrentIndex(box.findText(QString::fromStdString(text)));
  }

  // The "更多功能" menu of a window with every module, open over the record list of a demo
  // scan, as one picture (the menu is a window of its own, drawn where it opens).
  void saveMenuPicture(const QString& file) {
    ASSERT_EQ(qevExecuteSql("delete from fileinfo"), 1);
    int id = 0;
    for (const char* name : {"Com1", "a.", "aux", "b ", "con.asp", "lpt9.php", "nul.txt"}) {
      insertRow(entryRow(std::to_string(++id) + "_demo", std::string("/srv/demo/site/") + name, 1, 8));
    }
    insertRow(entryRow(std::to_string(++id) + "_demo", "/srv/demo/site/prn", 2));
    openWindow();
    qevInstallModuleCommands(*window);
    window->show();
    QPushButton& button = window->moreCommandsButton();
    QMenu& menu = window->moreCommandsMenu();
    menu.popup(button.mapToGlobal(QPoint(0, button.height())));
    processEventsUntil([&] { return menu.isVisible(); }, std::chrono::seconds(5));
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    painter.drawPixmap(button.mapTo(window.get(), QPoint(0, button.height())), menu.grab());
    painter.end();
    picture.save(file);
    menu.hide();
  }

  TemporaryDir site;
};

TEST_F(MonitorLogViewTest, CommandShowsTheLogRowsInTheListsPlaceAndTheRecordListComesBack) {
  insertRow(entryRow("1_a", "/srv/www/con.asp", 1, 10));
  insertMonitorLogRow(logRow("10.0.0.1", "09:00:00", "正常文件", "/srv/www/old.php"));
  const std::string key = insertMonitorLogRow(logRow("10.0.0.2", "10:00:00", kSuspiciousCategoryText, "/srv/www/new.php"));
  MonitorLogView& view = openView();
  EXPECT_FALSE(view.inPlace());

  window->dispatchCommand(kShowLogRows);
  EXPECT_TRUE(view.inPlace());
  EXPECT_TRUE(view.table().isVisible());
  EXPECT_FALSE(window->recordView().isVisible());
  EXPECT_EQ(view.table().geometry(), window->recordView().geometry());
  EXPECT_TRUE(view.queryPanel().isVisible());
  EXPECT_EQ(view.queryPanel().title().toStdString(), "日志分析查询");
  EXPECT_FALSE(window->control(kHelpPane)->isVisible());
  for (const int id : {kServerFilter, kActionFilter, kKindFilter, kKeywordFilter, kRefillFilters, kFilterDefaults,
                       kShowWhitelistFiles, kShowSuspiciousFiles, kShowTrojanFiles}) {
    EXPECT_TRUE(window->control(id)->isVisible()) << id;
  }

  const char* headers[] = {"序号", "服务器IP", "时间", "动作", "文件路径", "文件类别", "说明", "文件大小", "id"};
  for (int c = 0; c < column::kCount; ++c) {
    EXPECT_EQ(view.model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), headers[c]);
  }
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/srv/www/new.php", "/srv/www/old.php"}));
  EXPECT_EQ(view.model().text(0, column::kNumber), "1");
  EXPECT_EQ(view.model().text(0, column::kCategory), kSuspiciousCategoryText);
  EXPECT_EQ(view.model().text(0, column::kKey), key);
  EXPECT_EQ(view.model().data(view.model().index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);

  // The view follows the list's place when the window is resized.
  window->resize(1200, 900);
  EXPECT_TRUE(processEventsUntil([&] { return view.table().geometry() == window->recordView().geometry(); },
                                 std::chrono::seconds(5)));

  window->dispatchCommand(kRefresh);
  EXPECT_FALSE(view.inPlace());
  EXPECT_TRUE(window->recordView().isVisible());
  EXPECT_FALSE(view.table().isVisible());
  EXPECT_FALSE(view.queryPanel().isVisible());
  EXPECT_TRUE(window->control(kHelpPane)->isVisible());
  EXPECT_EQ(window->recordList().rows(), 1);

  // SORREL_SCREENSHOT_DIR=docs: the picture of the view for the README, with rows of two servers.
  if (const char* dir = std::getenv("SORREL_SCREENSHOT_DIR")) {
    const struct {
      const char *ip, *time, *action, *category, *note, *path, *size;
    } rows[] = {
        {"192.168.1.21", "10:02:11", "新建", kSuspiciousCategoryText, "eval($_POST", "/srv/www/shop/upload/x.php", "2210"},
        {"192.168.1.21", "10:05:40", "修改", "正常文件", "", "/srv/www/shop/index.php", "15872"},
        {"192.168.1.35", "10:07:03", "新建", "木马文件（已拦截）", "已改名为 x.php.qev", "/var/www/blog/wp-content/x.php", "3301"},
        {"192.168.1.35", "10:09:27", "修改", "白名单文件", "", "/var/www/blog/cache/page.php", "912"},
        {"192.168.1.21", "10:12:58", "新建", kSuspiciousCategoryText, "base64_decode", "/srv/www/shop/tmp/a.asp", "640"},
    };
    for (const auto& r : rows) {
      LogRowFields fields = logRow(r.ip, r.time, r.category, r.path);
      fields.action = r.action;
      fields.blockInfo = r.note;
      fields.size = r.size;
      insertMonitorLogRow(fields);
    }
    window->dispatchCommand(kShowLogRows);
    window->dispatchCommand(kRefillFilters);
    view.model().setChecked(0, true);
    window->grab().save(QString::fromUtf8(dir) + "/monitor-log-view.png");
    saveMenuPicture(QString::fromUtf8(dir) + "/more-commands-menu.png");
  }
}

TEST_F(MonitorLogViewTest, TheLogQueryAndTheDisplayFiltersNarrowTheView) {
  insertMonitorLogRow(logRow("10.0.0.1", "09:00:00", "正常文件", "/srv/www/index.php"));
  insertMonitorLogRow(logRow("10.0.0.1", "09:30:00", kSuspiciousCategoryText, "/srv/www/up/shell.php"));
  insertMonitorLogRow(logRow("10.0.0.2", "10:00:00", "白名单文件", "/srv/www/O'Brien.asp"));
  MonitorLogView& view = openView();
  window->dispatchCommand(kShowLogRows);
  EXPECT_EQ(list(kServerFilter).count(), 3);  // "（全部）" and the two ips
  EXPECT_EQ(list(kServerFilter).currentText().toStdString(), kAnyChoiceText);

  choose(kServerFilter, "10.0.0.1");
  EXPECT_EQ(viewColumn(view, column::kPath),
            (std::vector<std::string>{"/srv/www/up/shell.php", "/srv/www/index.php"}));
  choose(kKindFilter, "正常文件");
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/srv/www/index.php"}));

  window->dispatchCommand(kFilterDefaults);
  EXPECT_EQ(view.model().rows(), 3);

  QComboBox& keyword = list(kKeywordFilter);
  keyword.lineEdit()->setText(QStringLiteral("o'brien"));
  emit keyword.lineEdit()->editingFinished();
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/srv/www/O'Brien.asp"}));
  window->dispatchCommand(kFilterDefaults);

  // A display filter box, clicked as the operator clicks it.
  static_cast<QCheckBox*>(window->control(kShowSuspiciousFiles))->click();
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/srv/www/up/shell.php"}));
  static_cast<QCheckBox*>(window->control(kShowWhitelistFiles))->click();
  EXPECT_EQ(viewColumn(view, column::kPath),
            (std::vector<std::string>{"/srv/www/O'Brien.asp", "/srv/www/up/shell.php"}));
  EXPECT_TRUE(window->control(kAllTime)->isEnabled());

  // Rows imported later: their values appear once the lists are refilled.
  insertMonitorLogRow(logRow("10.0.0.3", "11:00:00", "木马文件", "/srv/www/x.asp"));
  window->dispatchCommand(kRefillFilters);
  EXPECT_EQ(list(kServerFilter).count(), 4);
  EXPECT_TRUE(window->control(kRefillFilters)->isEnabled());
}

TEST_F(MonitorLogViewTest, AHeaderClickSortsTheViewAndAgainTurnsItRound) {
  insertMonitorLogRow(logRow("10.0.0.1", "09:00:00", "正常文件", "/b.php"));
  insertMonitorLogRow(logRow("10.0.0.1", "10:00:00", "正常文件", "/a.php"));
  insertMonitorLogRow(logRow("10.0.0.1", "11:00:00", "正常文件", "/c.php"));
  MonitorLogView& view = openView();
  window->dispatchCommand(kShowLogRows);
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/c.php", "/a.php", "/b.php"}));
  QHeaderView* header = view.table().horizontalHeader();
  emit header->sectionClicked(column::kPath);
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/a.php", "/b.php", "/c.php"}));
  EXPECT_EQ(header->sortIndicatorSection(), column::kPath);
  emit header->sectionClicked(column::kPath);
  EXPECT_EQ(viewColumn(view, column::kPath), (std::vector<std::string>{"/c.php", "/b.php", "/a.php"}));
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(MonitorLogViewTest, RecordListCommandsBringTheRecordListBackAndCheckMarksFollowTheListInPlace) {
  insertRow(entryRow("1_a", "/srv/www/con.asp", 1, 10));
  insertMonitorLogRow(logRow("10.0.0.1", "09:00:00", "正常文件", "/a.php"));
  MonitorLogView& view = openView();
  for (const int id : {kRefresh, kClearRecords, kClean, kAllTime, kToday, kLastWeek}) {
    window->dispatchCommand(kShowLogRows);
    ASSERT_TRUE(view.inPlace());
    prompter.clear();
    window->dispatchCommand(id);  // every question is answered No
    EXPECT_FALSE(view.inPlace()) << id;
  }
  EXPECT_EQ(window->recordList().rows(), 1);

  window->dispatchCommand(kShowLogRows);
  window->dispatchCommand(kCheckAll);
  EXPECT_TRUE(view.model().isChecked(0));
  EXPECT_FALSE(window->recordList().isChecked(0));
  window->dispatchCommand(kUncheckAll);
  EXPECT_FALSE(view.model().isChecked(0));
}

TEST_F(MonitorLogViewTest, WhitelistCommandAddsTheCheckedPathsAfterItsDialog) {
  insertMonitorLogRow(logRow("10.0.0.1", "09:00:00", "正常文件", "/srv/www/upload/a.php"));
  insertMonitorLogRow(logRow("10.0.0.1", "10:00:00", "正常文件", "/srv/www/b.php"));
  MonitorLogView& view = openView();

  // From the record list, the command brings the view and asks for a choice.
  window->dispatchCommand(kWhitelist);
  EXPECT_TRUE(view.inPlace());
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, kWhitelistNothingChosenMessage);

  view.model().setChecked(1, true);
  std::string listed;
  std::string title;
  qevSetConfirmDialogRunnerForTesting([&](ConfirmTextsDlg& dialog) {
    listed = dialog.listedText();
    title = dialog.windowTitle().toStdString();
    prompter.answerNext(PromptAnswer::Yes);
    return dialog.onConfirm() ? int(QDialog::Accepted) : int(QDialog::Rejected);
  });
  prompter.clear();
  window->dispatchCommand(kWhitelist);
  EXPECT_EQ(title, "白名单文件");
  EXPECT_EQ(listed, "/srv/www/upload/a.php\r\n");
  EXPECT_EQ(readFile(programDir.path() + "config/FMExDir.txt"), "/srv/www/upload/a.php\r\n");
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].text, "确定对选择的文件进行批量加入白名单吗？");
  EXPECT_EQ(prompter.shown()[1].text, kWhitelistAddedMessage);
  EXPECT_FALSE(view.model().isChecked(1));  // the view was loaded again
}

TEST_F(MonitorLogViewTest, ReportCommandSendsTheCheckedSuspiciousFiles) {
  writeCompanion(programDir.path(), kReportSenderExeName);
  const std::string path = site.path() + "/shell.php";
  writeFile(path, "<?php eval($_POST['x']); ?>");
  LogRowFields fields = logRow("10.0.0.1", "09:00:00", kSuspiciousCategoryText, path);
  ASSERT_EQ(qevFileCheckValue(path, kCheckName, fields.checkValue), 1);
  insertMonitorLogRow(fields);
  MonitorLogView& view = openView();
  window->dispatchCommand(kShowLogRows);
  view.model().setChecked(0, true);

  std::string title;
  qevSetConfirmDialogRunnerForTesting([&](ConfirmTextsDlg& dialog) {
    title = dialog.windowTitle().toStdString();
    EXPECT_EQ(dialog.listedText(), path + "\r\n");
    prompter.answerNext(PromptAnswer::Yes);
    return dialog.onConfirm() ? int(QDialog::Accepted) : int(QDialog::Rejected);
  });
  window->dispatchCommand(kReportSuspicious);
  EXPECT_EQ(title, "上报文件确认");
  ASSERT_TRUE(waitForCompanionRun(programDir.path(), kReportSenderExeName));
  EXPECT_EQ(companionArguments(programDir.path(), kReportSenderExeName), "/s\n");
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[0].text, "确定上报选择的可疑文件吗？");
  EXPECT_EQ(prompter.shown()[1].text, kReportStartedMessage);
}

TEST_F(MonitorLogViewTest, TheirMenuEntriesAreEnabled) {
  openView();
  QMenu& menu = window->moreCommandsMenu();
  emit menu.aboutToShow();
  for (QAction* action : menu.actions()) {
    const int id = action->data().toInt();
    if (id == kShowLogRows || id == kWhitelist || id == kReportSuspicious || id == kShowWhitelistFiles ||
        id == kShowSuspiciousFiles || id == kShowTrojanFiles) {
      EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    }
  }
}

}  // namespace
