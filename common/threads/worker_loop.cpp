#include "common/threads/worker_loop.h"

#include <condition_variable>
#include <mutex>

bool WorkerLoop::sleepFor(std::chrono::milliseconds duration) const {
  std::mutex mutex;
  std::condition_variable_any wake;
  std::unique_lock lock(mutex);
  return !wake.wait_for(lock, stop_, duration, [] { return false; }) && !stop_.stop_requested();
}

bool WorkerLoop::sleepSeconds(int seconds) const {
  for (int second = 0; second < seconds; ++second) {
    if (!sleepFor(std::chrono::milliseconds(1000))) return false;
  }
  return true;
}
