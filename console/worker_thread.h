#pragma once
#include <chrono>
#include <functional>
#include <stop_token>
#include <thread>

#include "console/manual_reset_event.h"
#include "console/window_thread_calls.h"

class CSorrelmedeDlg;

// What a worker of the main window gets. The window itself is reached only through calls
// queued onto its thread (calls); the pointer names the window those calls act on.
class WorkerContext {
 public:
  WorkerContext(CSorrelmedeDlg* window, WindowCalls calls, std::stop_token stop)
      : window_(window), calls_(std::move(calls)), stop_(std::move(stop)) {}

  CSorrelmedeDlg* window() const { return window_; }
  const WindowCalls& calls() const { return calls_; }
  bool stopRequested() const { return stop_.stop_requested(); }
  // Sleeps, but wakes at once when the window closes. False when it was woken by the stop.
  bool sleepFor(std::chrono::milliseconds duration) const;
  // The workers' poll period: whole seconds slept one at a time. False when woken by the stop.
  bool sleepSeconds(int seconds) const;

 private:
  CSorrelmedeDlg* window_;
  WindowCalls calls_;
  std::stop_token stop_;
};

using WorkerBody = std::function<void(const WorkerContext&)>;

// A thread of the main window that lives until the window closes. start() hands the thread its
// parameter block and returns only once the thread has copied it and signalled the start event;
// stopAndJoin() asks the body to end (its sleeps wake) and waits for it.
class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { stopAndJoin(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  void start(const WorkerBody& body, CSorrelmedeDlg* window, const WindowCalls& calls);
  void stopAndJoin();
  bool running() const { return thread_.joinable(); }

 private:
  std::jthread thread_;
};
