// Command 1050 in the main window with real companion scripts: the help pane, the question, the
// wait for qeviisreset during which the window stays alive and refuses its commands, and the
// request raised once the companion has ended.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>

#include "common/files/settings.h"
#include "console/command_ids.h"
#include "console/compaction_command.h"
#include "console/help_pane.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "support/companions.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

using namespace command_id;

const std::string kWaitingRefusal = "正在等待上一个操作完成，请稍候再试！";
const std::string kStarted = "已经开始压缩数据库文件，请稍候……";

int markedRows() {
  std::string count;
  qevReadFirstValue("select count(*) as n from fileinfo where CompactDatabase = '2'", "n", count);
  return count.empty() ? -1 : std::stoi(count);
}

class CompactionCommandTest : public MainWindowTest {
 protected:
  CompactionCommandTest() {
    qevCleaningActive().set(0);
    writeHelpPage(programDir.path());
    writeCompanion(programDir.path(), "qevxconfig");
    writeCompanion(programDir.path(), "qeviisreset", waitForReleaseBody(programDir.path()));
    insertRow(entryRow("a", "/srv/web/con", 1));
    insertRow(entryRow("b", "/srv/web/aux", 1));
    openWindow();
    qevInstallModuleCommands(*window);
    window->show();
  }
  ~CompactionCommandTest() override {
    writeFile(programDir.path() + "release", "");
    qevCleaningActive().set(0);
  }

  std::vector<std::string> shown() const {
    std::vector<std::string> texts;
    for (const auto& message : prompter.shown()) texts.push_back(message.text);
    return texts;
  }
};

TEST_F(CompactionCommandTest, NoToTheQuestionLeavesTheHelpPageShownAndNothingElse) {
  window->onRecordRowClicked(0);  // the preview pane replaces the help pane
  ASSERT_EQ(window->helpPaneFlag(), 0);
  window->dispatchCommand(kCompact);
  EXPECT_EQ(window->helpPaneFlag(), 1);
  EXPECT_TRUE(window->control(kHelpPane)->isVisible());
  EXPECT_FALSE(window->control(kPreviewPane)->isVisible());
  EXPECT_EQ(window->helpPane().address().rfind("file://" + programDir.path() + "config/HelpMon.dat?SessionId=", 0), 0u)
      << window->helpPane().address();
  EXPECT_FALSE(window->waiting());
  EXPECT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(markedRows(), 0);
  EXPECT_EQ(companionArguments(programDir.path(), "qeviisreset"), "");
}

TEST_F(CompactionCommandTest, WindowWaitsForTheStopToolWithoutBlockingThenRaisesTheRequest) {
  prompter.answerNext(PromptAnswer::Yes);
  window->dispatchCommand(kCompact);
  ASSERT_TRUE(window->waiting());
  ASSERT_TRUE(waitForCompanionRun(programDir.path(), "qeviisreset"));
  EXPECT_EQ(companionArguments(programDir.path(), "qeviisreset"), "/stop\n");

  // The window's thread is free: events are processed, a notice says that it waits, and its
  // commands are refused.
  QCoreApplication::processEvents();
  QWidget* notice = QApplication::activeModalWidget();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->isVisible());
  prompter.clear();
  EXPECT_TRUE(window->dispatchCommand(kRefresh));
  EXPECT_EQ(shown(), std::vector<std::string>({kWaitingRefusal}));
  EXPECT_EQ(markedRows(), 0);

  prompter.clear();
  writeFile(programDir.path() + "release", "");
  ASSERT_TRUE(processEventsUntil([this] { return !window->waiting(); }, std::chrono::seconds(30)));
  EXPECT_EQ(shown(), std::vector<std::string>({kStarted}));
  EXPECT_EQ(markedRows(), 2);
  EXPECT_EQ(qevReadSetting("CompactDatabase"), "1");
  EXPECT_EQ(qevCleaningActive().get(), 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CompactionCommandTest, ClosingTheWindowDuringTheWaitGivesItUpAndMarksNothing) {
  prompter.answerNext(PromptAnswer::Yes);
  window->dispatchCommand(kCompact);
  ASSERT_TRUE(waitForCompanionRun(programDir.path(), "qeviisreset"));
  const auto began = std::chrono::steady_clock::now();
  window.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
  EXPECT_EQ(markedRows(), 0);
  EXPECT_EQ(qevReadSetting("CompactDatabase"), "");
}

}  // namespace
