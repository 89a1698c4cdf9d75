// The remote-log commands of the desktop program offscreen, end to end with scripted log agents
// as two servers: a download into the download directory, downloadinfo and fmlog; the status
// window and its texts; a second run that fetches nothing new; 1002 that fetches everything
// anew; a stop during a run; closing the window while a worker is inside an exchange.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <set>

#include "console/command_ids.h"
#include "console/download_log_file_dlg.h"
#include "console/log_download_commands.h"
#include "console/main_window_fixture.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_state.h"
#include "support/files.h"
#include "support/log_servers.h"

namespace {

using namespace command_id;

// A silent agent holds an exchange for 2 s before the client gives up.
constexpr AgentTimeouts kTestTimeouts{2'000, 2'000, 5'000};
constexpr auto kLimit = std::chrono::seconds(30);

int count(const std::string& query) {
  std::string value;
  EXPECT_EQ(qevReadFirstValue(query, "n", value), 1) << query;
  return value.empty() ? -1 : std::stoi(value);
}

std::vector<std::string> rowTexts(QTableWidget& list, int row) {
  std::vector<std::string> texts;
  for (int column = 0; column < list.columnCount(); ++column) texts.push_back(list.item(row, column)->text().toStdString());
  return texts;
}

class LogDownloadTest : public MainWindowTest {
 protected:
  LogDownloadTest() { qevSetDownloadTimeoutsForTesting(kTestTimeouts); }
  ~LogDownloadTest() override {
    window.reset();
    qevSetDownloadTimeoutsForTesting({});
  }

  CSorrelmedeDlg& open() {
    openWindow();
    qevInstallLogDownloadCommands(*window);
    return *window;
  }

  // Gives the command with a Yes to its question and waits until its worker has ended.
  void runConfirmed(int command) {
    prompter.answerNext(PromptAnswer::Yes);
    ASSERT_TRUE(window->dispatchCommand(command));
    ASSERT_TRUE(processEventsUntil([] { return !qevDownloadState().busy(); }, kLimit));
    qevJoinDownloadWorker(*window);
  }

  std::size_t fetches() { return servers_[0].fetches() + servers_[1].fetches(); }

  bool fetchAsked(const LogServers::Server& server, const std::string& name) {
    for (const std::string& request : server.agent->requests()) {
      if (request.find("filename=" + name + "&") != std::string::npos) return true;
    }
    return false;
  }

  LogServers servers_;
};

TEST_F(LogDownloadTest, DownloadsFromTwoServersAndTheStatusWindowListsWhatWasFetched) {
  servers_.add("127.0.0.1").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(2, "one"));
  servers_.add("127.0.0.2").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(3, "two"));
  servers_[1].addLog("b_FMLog_20260102.txt", qevSampleMonitorLog(1, "two"));
  open();

  runConfirmed(kDownloadLogs);
  EXPECT_EQ(prompter.shown().at(0).text, "从远程服务器下载日志文件吗？");
  EXPECT_EQ(prompter.shown().size(), 1u);  // the run itself says nothing
  const std::string directory = qevDownloadDirectory();
  EXPECT_EQ(readFile(directory + "/_127.0.0.1_a_FMLog_20260101.txt"), qevSampleMonitorLog(2, "one"));
  EXPECT_EQ(readFile(directory + "/_127.0.0.2_a_FMLog_20260101.txt"), qevSampleMonitorLog(3, "two"));
  EXPECT_EQ(count("select count(*) as n from downloadinfo where status = '1' and adddb = '0'"), 3);
  EXPECT_EQ(count("select count(*) as n from fmlog where serip = '127.0.0.2' and chkfileinfo = 'two'"), 4);

  ASSERT_TRUE(window->dispatchCommand(kDownloadStatus));
  CDownloadLogFileDlg* status = qevDownloadStatusWindow(*window);
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(status->isVisible());
  EXPECT_FALSE(status->isModal());
  EXPECT_EQ(status->windowTitle().toStdString(), "日志文件下载状态");
  QTableWidget& list = status->list();
  const std::vector<std::pair<std::string, int>> columns = {{"序号", 40},   {"服务器IP", 100}, {"文件名", 200},
                                                            {"大小", 80},   {"下载状态", 80},  {"导入数据库", 118}};
  ASSERT_EQ(list.columnCount(), 6);
  for (int column = 0; column < 6; ++column) {
    EXPECT_EQ(list.horizontalHeaderItem(column)->text().toStdString(), columns[column].first);
    EXPECT_EQ(list.columnWidth(column), columns[column].second);
  }
  EXPECT_TRUE(list.showGrid());
  EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
  ASSERT_EQ(list.rowCount(), 3);
  EXPECT_EQ(rowTexts(list, 0), (std::vector<std::string>{"1", "127.0.0.1", "a_FMLog_20260101.txt",
                                                         std::to_string(qevSampleMonitorLog(2, "one").size()), "下载成功", "未处理"}));
  EXPECT_EQ(rowTexts(list, 2)[0], "3");
  EXPECT_EQ(rowTexts(list, 2)[2], "b_FMLog_20260102.txt");
  EXPECT_TRUE(list.item(0, 3)->textAlignment() & Qt::AlignRight);

  // A second run asks for nothing it has; the window shows its last reload until 刷新.
  const std::size_t fetchesBefore = fetches();
  servers_[0].addLog("c_FMLog_20260103.txt", qevSampleMonitorLog(1, "one"));
  runConfirmed(kDownloadLogs);
  EXPECT_EQ(fetches(), fetchesBefore + 1);
  ASSERT_TRUE(window->dispatchCommand(kDownloadStatus));
  EXPECT_EQ(qevDownloadStatusWindow(*window), status);  // made once
  EXPECT_EQ(list.rowCount(), 3);
  status->findChild<QPushButton*>(QStringLiteral("1010"))->click();
  EXPECT_EQ(list.rowCount(), 4);
  status->findChild<QPushButton*>(QStringLiteral("1004"))->click();
  EXPECT_FALSE(status->isVisible());
  EXPECT_EQ(list.rowCount(), 4);

  // 1002 clears everything and fetches every listed file anew.
  runConfirmed(kDownloadAgain);
  EXPECT_EQ(fetches(), fetchesBefore + 1 + 4);
  EXPECT_EQ(count("select count(*) as n from downloadinfo"), 4);
  EXPECT_EQ(count("select count(*) as n from fmlog"), 2 + 3 + 1 + 1);
}

TEST_F(LogDownloadTest, AStopTakesEffectAfterTheExchangeUnderWayAndNoSecondWorkerStartsMeanwhile) {
  // The second file's fetch gets no answer: the worker waits for it until the idle time-out.
  servers_.add("127.0.0.1", {"--fault", "fetch:silent:b_FMLog_20260102.txt"});
  servers_[0].addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "one"));
  servers_[0].addLog("b_FMLog_20260102.txt", qevSampleMonitorLog(1, "one"));
  servers_[0].addLog("c_FMLog_20260103.txt", qevSampleMonitorLog(1, "one"));
  servers_.add("127.0.0.2").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "two"));
  open();

  prompter.answerNext(PromptAnswer::Yes);
  ASSERT_TRUE(window->dispatchCommand(kDownloadLogs));
  ASSERT_TRUE(processEventsUntil([&] { return fetchAsked(servers_[0], "b_FMLog_20260102.txt"); }, kLimit));
  prompter.clear();
  prompter.answerNext(PromptAnswer::Yes);
  ASSERT_TRUE(window->dispatchCommand(kStopDownload));
  // Stopped, but still inside the exchange: a start is refused, a stop says it is stopped.
  prompter.answerNext(PromptAnswer::Yes);
  ASSERT_TRUE(window->dispatchCommand(kDownloadLogs));
  ASSERT_TRUE(window->dispatchCommand(kStopDownload));
  ASSERT_EQ(prompter.shown().size(), 4u);
  EXPECT_EQ(prompter.shown()[0].text, "确定停止从远程服务器下载日志文件吗？");
  EXPECT_EQ(prompter.shown()[1].text, "停止成功！");
  EXPECT_EQ(prompter.shown()[1].icon, MessageIcon::Information);
  EXPECT_EQ(prompter.shown()[2].text.rfind("当前正在从远程服务器下载日志文件；", 0), 0u);
  EXPECT_EQ(prompter.shown()[3].text, "已经是停止状态！");
  EXPECT_TRUE(qevDownloadState().busy());

  ASSERT_TRUE(processEventsUntil([] { return !qevDownloadState().busy(); }, kLimit));
  qevJoinDownloadWorker(*window);
  EXPECT_FALSE(fetchAsked(servers_[0], "c_FMLog_20260103.txt"));
  EXPECT_EQ(servers_[1].fetches(), 0u);
  EXPECT_EQ(count("select count(*) as n from downloadinfo"), 1);
  EXPECT_FALSE(std::filesystem::exists(qevDownloadDirectory() + "/_127.0.0.1_b_FMLog_20260102.txt"));

  // The next start runs again and takes what is missing.
  prompter.clear();
  runConfirmed(kDownloadLogs);
  EXPECT_EQ(count("select count(*) as n from downloadinfo"), 3);
}

TEST_F(LogDownloadTest, ClosingTheWindowDuringADownloadEndsTheWorker) {
  servers_.add("127.0.0.1", {"--fault", "fetch:silent"});
  servers_[0].addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "one"));
  servers_[0].addLog("b_FMLog_20260102.txt", qevSampleMonitorLog(1, "one"));
  open();
  prompter.answerNext(PromptAnswer::Yes);
  ASSERT_TRUE(window->dispatchCommand(kDownloadLogs));
  ASSERT_TRUE(processEventsUntil([&] { return fetchAsked(servers_[0], "a_FMLog_20260101.txt"); }, kLimit));
  window->reject();  // the close box, Esc
  window.reset();  // joins the worker once its exchange has timed out
  EXPECT_FALSE(qevDownloadState().busy());
  EXPECT_FALSE(fetchAsked(servers_[0], "b_FMLog_20260102.txt"));
}

TEST_F(LogDownloadTest, TheMoreCommandsMenuOffersTheDownloadCommands) {
  open();
  QMenu& menu = window->moreCommandsMenu();
  emit menu.aboutToShow();
  std::set<int> enabled;
  for (QAction* action : menu.actions()) {
    if (action->isEnabled()) enabled.insert(action->data().toInt());
  }
  for (int id : {kDownloadLogs, kDownloadAgain, kStopDownload, kDownloadStatus, kReimportLogs}) {
    EXPECT_EQ(enabled.count(id), 1u) << id;
  }
}

}  // namespace
