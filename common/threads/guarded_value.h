#pragma once
#include <mutex>

// One process-wide value with a lock of its own, held only for the read or the write.
template <typename T>
class GuardedValue {
 public:
  T get() const {
    std::lock_guard lock(mutex_);
    return value_;
  }
  void set(T value) {
    std::lock_guard lock(mutex_);
    value_ = std::move(value);
  }

 private:
  mutable std::mutex mutex_;
  T value_{};
};
