// The main window: its controls, the commands by id, the layout on resize, and the commands
// around the record list that ask the operator something.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableView>

#include "console/command_ids.h"
#include "console/help_pane.h"
#include "console/main_window_fixture.h"
#include "maintenance/records/maintenance_requests.h"

namespace {

using namespace command_id;
using MainWindowControlsTest = MainWindowTest;

TEST_F(MainWindowControlsTest, VisibleControlsCarryTheirLabels) {
  struct Visible {
    int id;
    const char* label;
  };
  const Visible buttons[] = {{kScan, "扫描特殊带点文件"}, {kClean, "清理选择文件"},   {kStopCleaning, "停止清理文件"},
                             {kRefresh, "刷新记录"},       {kClearRecords, "清空记录"}, {kVendorWebSite, "官方网站"},
                             {kUncheckAll, "清除已选 √"},  {kCheckAll, "全选 √"}};
  openWindow();
  window->show();
  for (const Visible& b : buttons) {
    auto* button = qobject_cast<QAbstractButton*>(window->control(b.id));
    ASSERT_NE(button, nullptr) << b.id;
    EXPECT_TRUE(button->isVisible()) << b.id;
    EXPECT_EQ(button->text().toStdString(), b.label) << b.id;
  }
  EXPECT_EQ(window->windowTitle().toStdString(), "Tavernel V1.00 官方网站 www.tavernel.com");
  EXPECT_EQ(static_cast<QLabel*>(window->control(kTitleText))->text().toStdString(), "Tavernel");
  EXPECT_EQ(window->control(kTitleText)->font().pixelSize(), 22);
  EXPECT_TRUE(window->control(kProgressBar)->isVisible());

  const QTableView& list = window->recordView();
  const char* headers[] = {"序号", "文件名", "文件类别", "文件大小", "时间", "状态", "路径", "fid"};
  const int widths[] = {60, 180, 80, 80, 120, 80, 800, 1};
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(list.model()->headerData(column, Qt::Horizontal).toString().toStdString(), headers[column]);
    EXPECT_EQ(list.columnWidth(column), widths[column]);
  }
  EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_TRUE(list.showGrid());
}

TEST_F(MainWindowControlsTest, EveryCommandIdIsRoutedAndHiddenControlsStayHidden) {
  const int hidden[] = {kCompact,     kReportSuspicious, kWhitelist,    kShowWhitelistFiles, kShowSuspiciousFiles,
                        kShowTrojanFiles, kMonitorRules, kAlarmSettings, kCheckFilesRequest, kDeleteDuplicatesRequest,
                        kToday,       kYesterday,        kLastThreeDays, kLastWeek,          kAllTime,
                        kServerFilter, kActionFilter,    kKindFilter,   kKeywordFilter,      kRefillFilters,
                        kFilterDefaults, kServerManagement, kDownloadLogs, kDownloadAgain,   kStopDownload,
                        kDownloadStatus, kNoAction};
  const int withoutControl[] = {kShowLogRows, kReimportLogs, kOpenContainingFolder};
  openWindow();
  window->show();
  for (const int id : hidden) {
    ASSERT_NE(window->control(id), nullptr) << id;
    EXPECT_FALSE(window->control(id)->isVisible()) << id;
    const bool dropDown = id == kServerFilter || id == kActionFilter || id == kKindFilter || id == kKeywordFilter;
    EXPECT_EQ(window->knowsCommand(id), !dropDown) << id;
  }
  for (const int id : withoutControl) EXPECT_TRUE(window->knowsCommand(id)) << id;
  for (const int id : {kScan, kClean, kStopCleaning, kRefresh, kClearRecords, kVendorWebSite, kUncheckAll, kCheckAll}) {
    EXPECT_TRUE(window->knowsCommand(id)) << id;
  }
  EXPECT_FALSE(window->dispatchCommand(4242));

  // Commands whose functions are still to come answer nothing, and a later module can take them.
  EXPECT_TRUE(window->dispatchCommand(kCompact));
  EXPECT_TRUE(prompter.shown().empty());
  int scans = 0;
  window->setCommandHandler(kScan, [&] { ++scans; });
  static_cast<QAbstractButton*>(window->control(kScan))->click();
  EXPECT_EQ(scans, 1);
}

TEST_F(MainWindowControlsTest, VendorSiteCommandOpensTheHomeAddress) {
  openWindow();
  window->dispatchCommand(kVendorWebSite);
  ASSERT_EQ(openedAddresses.size(), 1u);
  EXPECT_EQ(openedAddresses[0], "https://www.tavernel.com/?from=Sorrelmede&version=V100");
  EXPECT_EQ(window->helpPane().address(), "https://www.tavernel.com/brindlehelp.asp?from=Sorrelmede&version=V100");
}

TEST_F(MainWindowControlsTest, HelpPaneShowsLocalPagesAndKeepsItsPageWhenALoadFails) {
  TemporaryDir pages;
  const std::string page = pages.path() + "/help.html";
  runShell("printf '<html><body><p>帮助页面</p></body></html>' > " + page);
  openWindow();
  CHelpinfo& help = window->helpPane();
  help.navigate(page);
  EXPECT_EQ(help.toPlainText().toStdString(), "帮助页面");
  help.navigate(pages.path() + "/missing.html");
  help.navigate("https://www.tavernel.com/brindlehelp.asp");  // not fetched in tests
  EXPECT_EQ(help.toPlainText().toStdString(), "帮助页面");
}

TEST_F(MainWindowControlsTest, FirstSizeEventKeepsTheLayoutLaterOnesApplyIt) {
  openWindow();
  const QRect list = window->control(kRecordList)->geometry();
  const QRect preview = window->control(kPreviewPane)->geometry();
  const int before = window->sizeEventCount();

  QResizeEvent first(QSize(1200, 900), QSize(1000, 680));
  QCoreApplication::sendEvent(window.get(), &first);
  if (before == 0) {
    EXPECT_EQ(window->control(kRecordList)->geometry(), list);
    EXPECT_EQ(window->control(kPreviewPane)->geometry(), preview);
    QResizeEvent second(QSize(1200, 900), QSize(1000, 680));
    QCoreApplication::sendEvent(window.get(), &second);
  }
  EXPECT_EQ(window->control(kRecordList)->geometry(), QRect(list.left(), list.top(), 1200 - 2 * list.left(),
                                                            900 - list.top() - 195));
  for (const int pane : {kPreviewPane, kHelpPane}) {
    EXPECT_EQ(window->control(pane)->geometry(), QRect(preview.left(), 900 - 190, 1200 - 2 * preview.left(), 180));
  }
  // Other controls stay where they are.
  EXPECT_EQ(window->control(kVendorWebSite)->geometry().topLeft(), QPoint(898, 46));
  // A window smaller than the margins gives empty panes, not negative sizes.
  QResizeEvent tiny(QSize(10, 10), QSize(1200, 900));
  QCoreApplication::sendEvent(window.get(), &tiny);
  EXPECT_EQ(window->control(kRecordList)->size(), QSize(0, 0));
  EXPECT_EQ(window->control(kPreviewPane)->width(), 0);
}

TEST_F(MainWindowControlsTest, CheckAllAndUncheckAll) {
  insertRow(entryRow("a", "/srv/a.", 1));
  insertRow(entryRow("b", "/srv/b.", 1));
  openWindow();
  window->recordList().setChecked(1, true);
  window->dispatchCommand(kCheckAll);
  EXPECT_TRUE(window->recordList().isChecked(0));
  EXPECT_TRUE(window->recordList().isChecked(1));
  window->dispatchCommand(kUncheckAll);
  EXPECT_FALSE(window->recordList().isChecked(0));
  EXPECT_FALSE(window->recordList().isChecked(1));
}

TEST_F(MainWindowControlsTest, RangeCommandsRerunTheSameQuery) {
  struct Range {
    int id;
    int code;
  };
  const Range ranges[] = {{kToday, 0}, {kYesterday, 1}, {kLastThreeDays, 3}, {kLastWeek, 7}, {kAllTime, 9999}};
  openWindow();
  int rows = 0;
  for (const Range& range : ranges) {
    insertRow(entryRow(std::to_string(range.id), "/srv/r" + std::to_string(range.id) + ".", 1));
    window->dispatchCommand(range.id);
    EXPECT_EQ(qevRangeCode(), range.code);
    EXPECT_EQ(window->recordList().rows(), ++rows) << "every range shows every row";
    EXPECT_TRUE(window->control(kToday)->isEnabled());
  }
}

TEST_F(MainWindowControlsTest, ClearRecordsAsksFirst) {
  struct Case {
    PromptAnswer answer;
    int rowsAfter;
    std::vector<std::string> messages;
  };
  const std::string question = "确定清空数据库中的日志记录吗？";
  const Case cases[] = {
      {PromptAnswer::No, 1, {question}},
      {PromptAnswer::Yes, 0, {question, "数据库中的日志记录已经清空！\r\n\r\n\r\n下一步，请重新扫描网站目录中的文件。"}},
  };
  for (const Case& c : cases) {
    TemporaryProgramDir fresh;
    prompter.clear();
    insertRow(entryRow("a", "/srv/a.", 1));
    openWindow();
    qevCheckFilesRequest().set(1);
    prompter.answerNext(c.answer);
    window->dispatchCommand(kClearRecords);
    EXPECT_EQ(window->recordList().rows(), c.rowsAfter);
    std::string count;
    qevReadFirstValue("select count(*) as n from fileinfo", "n", count);
    EXPECT_EQ(count, std::to_string(c.rowsAfter));
    ASSERT_EQ(prompter.shown().size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i) EXPECT_EQ(prompter.shown()[i].text, c.messages[i]);
    EXPECT_EQ(prompter.shown()[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(prompter.shown().back().icon, c.rowsAfter == 0 ? MessageIcon::Information : MessageIcon::Question);
    EXPECT_EQ(qevCheckFilesRequest().get(), c.answer == PromptAnswer::Yes ? 0 : 1);
    window.reset();
  }
}

TEST_F(MainWindowControlsTest, MaintenanceRequestsAskAndSetTheirFlags) {
  struct Case {
    const char* what;
    int command;
    int checkBefore, duplicatesBefore;
    PromptAnswer answer;
    const char* question;
    PromptButtons buttons;
    int checkAfter, duplicatesAfter;
  };
  const Case cases[] = {
      {"check: start", kCheckFilesRequest, 0, 0, PromptAnswer::Yes, kCheckFilesQuestion, PromptButtons::YesNo, 1, 0},
      {"check: decline", kCheckFilesRequest, 0, 0, PromptAnswer::No, kCheckFilesQuestion, PromptButtons::YesNo, 0, 0},
      {"check: keep waiting", kCheckFilesRequest, 1, 0, PromptAnswer::Ok, kCheckFilesRunningQuestion,
       PromptButtons::OkCancel, 1, 0},
      {"check: give up", kCheckFilesRequest, 1, 0, PromptAnswer::Cancel, kCheckFilesRunningQuestion,
       PromptButtons::OkCancel, 0, 0},
      {"duplicates during a check", kDeleteDuplicatesRequest, 1, 0, PromptAnswer::Cancel,
       kCheckFilesRunningQuestion, PromptButtons::OkCancel, 0, 0},
      {"duplicates: keep waiting", kDeleteDuplicatesRequest, 0, 1, PromptAnswer::Ok,
       kDeleteDuplicatesRunningQuestion, PromptButtons::OkCancel, 0, 1},
      {"duplicates: give up", kDeleteDuplicatesRequest, 0, 1, PromptAnswer::Cancel,
       kDeleteDuplicatesRunningQuestion, PromptButtons::OkCancel, 0, 0},
      {"duplicates: start", kDeleteDuplicatesRequest, 0, 0, PromptAnswer::Yes, kDeleteDuplicatesQuestion,
       PromptButtons::YesNo, 0, 1},
      {"duplicates: decline", kDeleteDuplicatesRequest, 0, 0, PromptAnswer::No, kDeleteDuplicatesQuestion,
       PromptButtons::YesNo, 0, 0},
  };
  openWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    prompter.clear();
    qevCheckFilesRequest().set(c.checkBefore);
    qevDeleteDuplicatesRequest().set(c.duplicatesBefore);
    prompter.answerNext(c.answer);
    window->dispatchCommand(c.command);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, c.question);
    EXPECT_EQ(prompter.shown()[0].buttons, c.buttons);
    EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(qevCheckFilesRequest().get(), c.checkAfter);
    EXPECT_EQ(qevDeleteDuplicatesRequest().get(), c.duplicatesAfter);
  }
  qevCheckFilesRequest().set(0);
  qevDeleteDuplicatesRequest().set(0);
}

TEST_F(MainWindowControlsTest, FilterListsStayEmptyAndUsable) {
  openWindow();
  window->dispatchCommand(kRefillFilters);
  window->dispatchCommand(kFilterDefaults);
  EXPECT_TRUE(window->control(kRefillFilters)->isEnabled());
  EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
