#pragma once
#include <sys/types.h>

#include <string>

struct sqlite3;

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

// A second connection holds the data store's write lock (an open immediate transaction) until
// the object goes away; meanwhile the store's own connections give up after busyMilliseconds
// instead of their usual wait. Readers still read (the store keeps a write-ahead log).
class StoreWriteLock {
 public:
  StoreWriteLock(const std::string& store, int busyMilliseconds);
  ~StoreWriteLock();
  StoreWriteLock(const StoreWriteLock&) = delete;
  StoreWriteLock& operator=(const StoreWriteLock&) = delete;

 private:
  sqlite3* db_ = nullptr;
};
