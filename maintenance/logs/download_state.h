#pragma once
#include <mutex>

// The one download worker of the process. Two indications, both behind one lock:
// - running: what the run checks before each server and file; the stop command clears it;
// - the worker slot: taken by the command that starts a worker and freed only by that worker
//   when it has ended. A stopped worker may still be inside an exchange (until its time-out),
//   so "not running" does not mean "no worker": a start meanwhile is refused as busy, and two
//   starts never make two workers.
class DownloadState {
 public:
  // Takes the worker slot and sets running. False (nothing changed) when the slot is taken.
  bool claim();
  // Clears running; the worker ends at its next check.
  void requestStop();
  // The worker has ended: frees the slot and clears running.
  void release();

  bool running() const;
  bool busy() const;  // the slot is taken: a worker runs or is ending

 private:
  mutable std::mutex mutex_;
  bool running_ = false;
  bool taken_ = false;
};

DownloadState& qevDownloadState();
