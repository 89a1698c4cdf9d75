#pragma once
#include <functional>
#include <stop_token>
#include <thread>

#include "common/threads/worker_loop.h"
#include "console/window_thread_calls.h"

class CSorrelmedeDlg;

// What a worker of the main window gets: its loop, which stops when the window closes, and the
// window, reached only through calls queued onto its thread (calls); the pointer names the
// window those calls act on.
class WorkerContext : public WorkerLoop {
 public:
  WorkerContext(CSorrelmedeDlg* window, WindowCalls calls, std::stop_token stop)
      : WorkerLoop(std::move(stop)), window_(window), calls_(std::move(calls)) {}

  CSorrelmedeDlg* window() const { return window_; }
  const WindowCalls& calls() const { return calls_; }

 private:
  CSorrelmedeDlg* window_;
  WindowCalls calls_;
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
