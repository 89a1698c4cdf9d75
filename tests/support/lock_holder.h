#pragma once
#include <sys/types.h>

#include <string>

// Another process holds an flock on a file for a while, the way the other program would.
// The constructor returns once the child holds the lock; the destructor waits for the child.
class LockHolder {
 public:
  LockHolder(const std::string& path, bool exclusive, int holdMilliseconds);
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  pid_t pid_ = -1;
};
