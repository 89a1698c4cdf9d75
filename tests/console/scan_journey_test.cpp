// The whole scan journey with the built programs: the main window (offscreen, in this process)
// starts the real scanner over a generated tree, and the scan watcher brings every recorded row
// into the list without a manual refresh. It runs in a private PID namespace, so the window's
// look for running scanners sees only the one it started (and never ends scanners of other tests).
#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/process/process.h"
#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/scan_command.h"
#include "console/scan_config_dlg.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = "SORREL_PRIVATE_PID_NAMESPACE";
using Clock = std::chrono::steady_clock;

bool inPrivatePidNamespace() { return std::getenv(kMarker) != nullptr; }

// Runs the current test again in a new PID namespace with its own /proc.
void rerunInPrivatePidNamespace() {
  if (runShell("unshare -fp --mount-proc true >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "no private PID namespace can be made here";
  }
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const int status = runShell(std::string(kMarker) + "=1 unshare -fp --mount-proc '" + self + "' --gtest_filter='" +
                              info->test_suite_name() + "." + info->name() + "' >&2");
  EXPECT_EQ(status, 0) << "the test failed inside its private PID namespace";
}

void processEventsFor(std::chrono::milliseconds duration) {
  const auto end = Clock::now() + duration;
  while (Clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

class ScanJourneyTest : public MainWindowTest {
 protected:
  void installScanner() {
    const std::string dist = SORREL_DIST_DIR;
    fs::copy_file(dist + "/Sorrelscan", programDir.path() + "Sorrelscan");
    fs::copy_file(dist + "/config/Sorrelscan.in", programDir.path() + "config/Sorrelscan.in",
                  fs::copy_options::overwrite_existing);
  }

  // Special entries (names ending in a dot) among ordinary ones, in a few directories.
  int makeSite(int specialEntries) {
    for (int i = 0; i < specialEntries; ++i) {
      const std::string directory = site_.path() + "/www/d" + std::to_string(i % 9);
      fs::create_directories(directory);
      std::ofstream(directory + "/page" + std::to_string(i) + ".") << i;
      std::ofstream(directory + "/index" + std::to_string(i) + ".html") << i;
    }
    return specialEntries;
  }

  TemporaryDir site_;
};

TEST_F(ScanJourneyTest, RowsOfAScanShowWithinSixSecondsOfItsEndWithoutRefresh) {
  if (!inPrivatePidNamespace()) {
    rerunInPrivatePidNamespace();
    return;
  }
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  installScanner();
  const int expected = makeSite(157);
  qevSetScanDialogRunnerForTesting([this](CScanConfigDlg& dialog) {
    dialog.directoryEdit().setPlainText(QString::fromStdString(site_.path() + "/www"));
    prompter.answerNext(PromptAnswer::Yes);
    dialog.onStartScan();
    return dialog.result();
  });
  openWindow(qevMainWindowWorkers());
  qevInstallModuleCommands(*window);

  window->dispatchCommand(command_id::kScan);
  ASSERT_EQ(prompter.shown().size(), 1u) << prompter.shown().back().text;

  const auto started = Clock::now();
  while (qevGetProcessList(programDir.path(), kScannerExeName) != 2 && Clock::now() - started < std::chrono::seconds(60)) {
    processEventsFor(std::chrono::milliseconds(20));
  }
  ASSERT_EQ(qevGetProcessList(programDir.path(), kScannerExeName), 2) << "the scanner did not end";
  const auto ended = Clock::now();
  while (window->recordList().rows() < expected && Clock::now() - ended < std::chrono::seconds(6)) {
    processEventsFor(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(window->recordList().rows(), expected);
  EXPECT_EQ(prompter.shown().size(), 1u);
  qevSetScanDialogRunnerForTesting(nullptr);
}

}  // namespace
