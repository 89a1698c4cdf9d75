// The cleaning worker inside the main window, on a volume of its own (a tmpfs in a private mount
// namespace): a confirmed cleaning runs with progress and summary on the window's thread, and a
// pass under way ends when the window closes, losing no entry.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProgressBar>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/files/settings.h"
#include "console/clean_commands.h"
#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/window_workers.h"
#include "maintenance/cleaning/clean_request.h"
#include "maintenance/cleaning/cleaning_pass.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "support/mount_namespace.h"

namespace fs = std::filesystem;

namespace {

using namespace command_id;
using Clock = std::chrono::steady_clock;

std::string rowState(const std::string& id) {
  std::string value;
  qevReadLatestValue("fileinfo", "filenameid", id, "id", "CompactDatabase", value);
  return value;
}

int rowsInState(const std::string& state) {
  std::string count;
  qevReadFirstValue("select count(*) as n from fileinfo where CompactDatabase = '" + state + "'", "n", count);
  return count.empty() ? -1 : std::stoi(count);
}

class CleaningWorkerTest : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!InPrivateMountNamespace()) return;
    volume_ = work_.path() + "/vol";
    fs::create_directories(volume_);
    ASSERT_TRUE(MountTmpfs(volume_));
  }
  ~CleaningWorkerTest() override {
    qevSetRenameDialogRunnerForTesting(nullptr);
    qevCleaningActive().set(0);
  }

  std::string entry(int i) const { return volume_ + "/web/d" + std::to_string(i % 5) + "/nul." + std::to_string(i); }
  void recordEntries(int count) {
    for (int i = 0; i < count; ++i) {
      fs::create_directories(fs::path(entry(i)).parent_path());
      std::ofstream(entry(i)) << i;
      insertRow(entryRow("e" + std::to_string(i), entry(i), 1));
    }
  }
  void openWithCleaningWorker() {
    CSorrelmedeDlg::Workers workers;
    workers.cleaningWorker = qevRunCleaningWorker;
    openWindow(workers);
    qevInstallModuleCommands(*window);
    qevSetRenameDialogRunnerForTesting([](CReNameFileDlg&) { return int(QDialog::Accepted); });
  }
  bool shown(const std::string& text) const {
    for (const auto& message : prompter.shown()) {
      if (message.text == text) return true;
    }
    return false;
  }
  // The backed-up copy of an entry, wherever the pass's date and time put it.
  std::string backedUp(int i) const {
    const std::string below = entry(i).substr(volume_.size());
    for (const auto& date : fs::directory_iterator(volume_ + "/qev_dot_file_backup")) {
      for (const auto& time : fs::directory_iterator(date.path())) {
        if (fs::exists(time.path().string() + below)) return time.path().string() + below;
      }
    }
    return {};
  }

  // The summary of a pass, naming the backup directory it made on the volume.
  bool shownSummary(unsigned moved, unsigned notCleaned) const {
    std::error_code none;  // no backup tree yet: nothing shown
    for (const auto& date : fs::directory_iterator(volume_ + "/qev_dot_file_backup", none)) {
      for (const auto& time : fs::directory_iterator(date.path(), none)) {
        if (shown("清理文件完成。成功清理 " + std::to_string(moved) + " 个；未清理 " + std::to_string(notCleaned) +
                  " 个。\r\n\r\n\r\n当前已清理的文件，已经备份到“" + time.path().string() + "” 目录中")) {
          return true;
        }
      }
    }
    return false;
  }

  TemporaryDir work_;
  std::string volume_;
};

TEST_F(CleaningWorkerTest, ConfirmedCleaningRunsWithProgressSummaryAndReload) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  recordEntries(3);
  qevWriteSetting("CompactDatabase", "1");  // left over from an earlier run
  openWithCleaningWorker();
  EXPECT_TRUE(processEventsUntil([] { return qevReadSettingInt("CompactDatabase", 1) == 0; }, std::chrono::seconds(5)));

  window->recordList().setChecked(rowOf("e0"), true);
  window->recordList().setChecked(rowOf("e2"), true);
  window->dispatchCommand(kClean);
  ASSERT_TRUE(processEventsUntil([&] { return shownSummary(2, 0); }, std::chrono::seconds(15)));

  EXPECT_TRUE(shown("已经开始清理选择的目录文件\r\n\r\n\r\n正在备份目录文件到“" + volume_ +
                    "/qev_dot_file_backup/”目录中，请稍候……"));
  EXPECT_FALSE(fs::exists(entry(0)));
  EXPECT_TRUE(fs::exists(entry(1)));
  EXPECT_NE(backedUp(2), "");
  EXPECT_EQ(window->recordList().text(rowOf("e0"), 5), kMovedText);  // the list was reloaded
  auto* progress = static_cast<QProgressBar*>(window->control(kProgressBar));
  EXPECT_EQ(progress->maximum(), 2);
  EXPECT_EQ(progress->value(), 2);
  EXPECT_TRUE(processEventsUntil([] { return qevCleaningActive().get() == 0; }, std::chrono::seconds(2)));
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 1), 0);
}

TEST_F(CleaningWorkerTest, ClosingTheWindowEndsAPassUnderWayWithoutLosingAnEntry) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  constexpr int kEntries = 1500;
  recordEntries(kEntries);
  openWithCleaningWorker();
  window->dispatchCommand(kCheckAll);
  window->dispatchCommand(kClean);
  auto* progress = static_cast<QProgressBar*>(window->control(kProgressBar));
  ASSERT_TRUE(processEventsUntil([&] { return progress->value() >= 2; }, std::chrono::seconds(15)));

  window.reset();  // joins the worker
  const int handled = rowsInState("1");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(rowsInState("1"), handled);  // nothing moves once the window is gone
  EXPECT_LT(handled, kEntries);
  for (int i = 0; i < kEntries; ++i) {
    const bool atPlace = fs::exists(entry(i));
    ASSERT_NE(atPlace, !backedUp(i).empty()) << entry(i);
  }
}

TEST_F(CleaningWorkerTest, CleaningConfirmedDuringAPassRunsAfterIt) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  constexpr int kEntries = 200;
  recordEntries(kEntries);
  openWithCleaningWorker();
  window->dispatchCommand(kCheckAll);
  window->recordList().setChecked(rowOf("e199"), false);
  window->dispatchCommand(kClean);
  auto* progress = static_cast<QProgressBar*>(window->control(kProgressBar));
  ASSERT_TRUE(processEventsUntil([&] { return progress->value() >= 2; }, std::chrono::seconds(15)));

  // The operator confirms the cleaning of the one entry left out while the first pass runs.
  window->dispatchCommand(kUncheckAll);
  window->recordList().setChecked(rowOf("e199"), true);
  window->dispatchCommand(kClean);
  EXPECT_TRUE(processEventsUntil([&] { return shownSummary(1, 0); }, std::chrono::seconds(30)));
  EXPECT_EQ(rowState("e199"), "1");
  EXPECT_NE(backedUp(199), "");
}

}  // namespace
