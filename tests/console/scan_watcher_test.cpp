// The scan watcher in the main window: it brings rows the scanner signals into the list without
// a refresh, and a signal that arrives while it reloads is not lost.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "common/files/settings.h"
#include "console/main_window_fixture.h"
#include "maintenance/scan/scan_watcher.h"

namespace {

using Clock = std::chrono::steady_clock;

using ScanWatcherTest = MainWindowTest;

TEST_F(ScanWatcherTest, RowsSignalledDuringAReloadShowWithTheNextRound) {
  CSorrelmedeDlg::Workers workers;
  workers.scanWatcher = qevRunScanWatcher;
  openWindow(workers);
  ASSERT_EQ(window->recordList().rows(), 0);

  // The scanner records a row and signals it while the watcher's reload is under way.
  bool scannerWroteDuringReload = false;
  QObject::connect(&window->recordList(), &QAbstractItemModel::modelReset, [&] {
    if (scannerWroteDuringReload) return;
    scannerWroteDuringReload = true;
    insertRow(entryRow("late", "/srv/www/late.", 1));
    qevWriteSetting("refscanlog", "1");
  });
  insertRow(entryRow("first", "/srv/www/first.", 1));
  qevWriteSetting("refscanlog", "1");

  EXPECT_TRUE(processEventsUntil([&] { return window->recordList().rows() == 2; }, std::chrono::seconds(10)));
  EXPECT_TRUE(scannerWroteDuringReload);
  EXPECT_EQ(qevReadSettingInt("refscanlog", -1), 0);
}

}  // namespace
