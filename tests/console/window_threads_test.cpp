// The main window's worker threads: the start handshake, calls queued onto the window's thread,
// reloads from workers carried out there one at a time, and a clean stop when the window closes.
#include <gtest/gtest.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/messages/operator_message.h"
#include "console/main_window_fixture.h"
#include "maintenance/records/record_table.h"

namespace {

using namespace std::chrono_literals;
using WindowThreadsTest = MainWindowTest;

// Runs the window's event loop until done() holds or ten seconds have passed.
template <typename Done>
bool pumpUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return done();
}

TEST_F(WindowThreadsTest, WorkersStartAfterTheFirstLoadAndHaveTakenTheirBlocks) {
  insertRow(entryRow("a", "/srv/a.", 1));
  std::atomic<int> rowsSeenByWatcher{-1};
  std::atomic<CSorrelmedeDlg*> windowSeenByCleaner{nullptr};
  CSorrelmedeDlg::Workers workers;
  workers.scanWatcher = [&](const WorkerContext& context) {
    context.calls().call([&] { rowsSeenByWatcher = context.window()->recordList().rows(); });
  };
  workers.cleaningWorker = [&](const WorkerContext& context) { windowSeenByCleaner = context.window(); };
  openWindow(workers);
  // The constructor returned only after both threads signalled; the watcher's call needs the
  // window's thread, which runs it as soon as events are processed.
  EXPECT_TRUE(pumpUntil([&] { return rowsSeenByWatcher.load() == 1 && windowSeenByCleaner.load() != nullptr; }));
  EXPECT_EQ(windowSeenByCleaner.load(), window.get());
}

TEST_F(WindowThreadsTest, ReloadsFromWorkersRunOnTheWindowThreadOneAtATime) {
  openWindow();
  std::atomic<int> reloadsDone{0};
  std::atomic<bool> wrongThread{false};
  // Two workers reload again and again while the window reloads too.
  const auto reloader = [&] {
    for (int i = 0; i < 20; ++i) {
      qevReloadAllRecords();
      ++reloadsDone;
    }
  };
  class CheckingHost : public RecordListHost {
   public:
    CheckingHost(RecordListHost& real, std::atomic<bool>& wrong) : real_(real), wrong_(wrong) {}
    void setRangeButtonsEnabled(bool enabled) override { real_.setRangeButtonsEnabled(enabled); }
    void fillFilterListsOnce() override { real_.fillFilterListsOnce(); }
    void showRecordRows(std::vector<RecordRow> rows) override {
      if (QThread::currentThread() != qApp->thread()) wrong_ = true;
      real_.showRecordRows(std::move(rows));
    }
    bool runOnWindowThread(const std::function<void()>& work) override { return real_.runOnWindowThread(work); }
    bool onWindowThread() const override { return real_.onWindowThread(); }

   private:
    RecordListHost& real_;
    std::atomic<bool>& wrong_;
  } host(*window, wrongThread);
  qevSetRecordListHost(&host);
  insertRow(entryRow("a", "/srv/a.", 1));
  std::thread first(reloader);
  std::thread second(reloader);
  const bool finished = pumpUntil([&] {
    qevReloadAllRecords();
    return reloadsDone.load() == 40;
  });
  first.join();
  second.join();
  qevSetRecordListHost(window.get());
  EXPECT_TRUE(finished);
  EXPECT_FALSE(wrongThread.load());
  EXPECT_EQ(window->recordList().rows(), 1);
}

// A message box during a load spins a nested event loop, where a queued reload may start: it
// must not run inside the running one, but right after it.
TEST_F(WindowThreadsTest, ReloadAskedForDuringAReloadRunsAfterIt) {
  openWindow();
  class NestingHost : public RecordListHost {
   public:
    explicit NestingHost(RecordListHost& real) : real_(real) {}
    void setRangeButtonsEnabled(bool enabled) override { real_.setRangeButtonsEnabled(enabled); }
    void fillFilterListsOnce() override { real_.fillFilterListsOnce(); }
    void showRecordRows(std::vector<RecordRow> rows) override {
      ++depth;
      maxDepth = std::max(maxDepth, depth);
      if (++shows == 1) {
        insertRow(entryRow("late", "/srv/late.", 1));
        qevReloadAllRecords();  // as a queued reload would from inside a message box
      }
      real_.showRecordRows(std::move(rows));
      --depth;
    }
    bool runOnWindowThread(const std::function<void()>& work) override { return real_.runOnWindowThread(work); }
    bool onWindowThread() const override { return real_.onWindowThread(); }
    int depth = 0, maxDepth = 0, shows = 0;

   private:
    RecordListHost& real_;
  } host(*window);
  qevSetRecordListHost(&host);
  qevReloadAllRecords();
  qevSetRecordListHost(window.get());
  EXPECT_EQ(host.maxDepth, 1);
  EXPECT_EQ(host.shows, 2);
  EXPECT_EQ(window->recordList().rows(), 1) << "the later reload shows the row recorded meanwhile";
}

TEST_F(WindowThreadsTest, ClosingWhileWorkersWaitOrSleepEndsCleanly) {
  std::atomic<bool> callRefused{false};
  std::atomic<bool> sleepInterrupted{false};
  CSorrelmedeDlg::Workers workers;
  // One worker waits for the window's thread, which is busy closing; the other sleeps long.
  // It calls until a call is refused, whether or not it has seen the stop yet: a worker that
  // meets the closing window inside a call must get an answer, not wait for ever.
  workers.scanWatcher = [&](const WorkerContext& context) {
    while (context.calls().call([] {})) context.sleepFor(1ms);
    callRefused = true;
  };
  workers.cleaningWorker = [&](const WorkerContext& context) {
    sleepInterrupted = !context.sleepFor(3600s);
  };
  openWindow(workers);
  window->close();
  window.reset();
  EXPECT_TRUE(callRefused.load());
  EXPECT_TRUE(sleepInterrupted.load());
}

TEST_F(WindowThreadsTest, MessagesFromWorkersAppearOnTheWindowThread) {
  std::atomic<bool> shown{false};
  CSorrelmedeDlg::Workers workers;
  workers.scanWatcher = [&](const WorkerContext&) {
    qevShowOperatorMessage("获取EXE文件路劲失败，请重试！", MessageIcon::Question);
    shown = true;
  };
  openWindow(workers);
  EXPECT_TRUE(pumpUntil([&] { return shown.load(); }));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "获取EXE文件路劲失败，请重试！");
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
}

TEST_F(WindowThreadsTest, PostedCallsRunInOrderAndNotAfterClosing) {
  openWindow();
  std::vector<int> order;
  WindowCalls calls = window->windowCalls();
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i) calls.post([&order, i] { order.push_back(i); });
  });
  worker.join();
  EXPECT_TRUE(pumpUntil([&] { return order.size() == 5; }));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));

  calls.post([&order] { order.push_back(99); });
  window->stopWorkers();
  QCoreApplication::processEvents();
  EXPECT_EQ(order.size(), 5u);
  EXPECT_FALSE(calls.post([] {}));
}

}  // namespace
