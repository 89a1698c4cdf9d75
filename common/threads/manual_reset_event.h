#pragma once
#include <condition_variable>
#include <mutex>

// An event that stays signalled once set, like a Windows manual-reset event.
class ManualResetEvent {
 public:
  void set() {
    std::lock_guard lock(mutex_);
    signalled_ = true;
    changed_.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};
