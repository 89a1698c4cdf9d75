#include "support/lock_holder.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <stdexcept>

#include "common/store/datastore_connection.h"

namespace {

void holdInChild(const std::string& path, bool exclusive, int holdMilliseconds, int readyFd) {
  const int fd = open(path.c_str(), O_RDONLY);
  const char ready = fd >= 0 && flock(fd, exclusive ? LOCK_EX : LOCK_SH) == 0 ? 'y' : 'n';
  if (write(readyFd, &ready, 1) != 1 || ready != 'y') _exit(1);
  const timespec pause{holdMilliseconds / 1000, (holdMilliseconds % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
  _exit(0);
}

}  // namespace

LockHolder::LockHolder(const std::string& path, bool exclusive, int holdMilliseconds) {
  int ready[2];
  if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
  pid_ = fork();
  if (pid_ == 0) {
    close(ready[0]);
    holdInChild(path, exclusive, holdMilliseconds, ready[1]);
  }
  close(ready[1]);
  char answer = 'n';
  const bool held = pid_ > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
  close(ready[0]);
  if (!held) {
    int status = 0;
    if (pid_ > 0) waitpid(pid_, &status, 0);
    throw std::runtime_error("the other process could not lock " + path);
  }
}

LockHolder::~LockHolder() {
  int status = 0;
  if (pid_ > 0) waitpid(pid_, &status, 0);
}

StoreWriteLock::StoreWriteLock(const std::string& store, int busyMilliseconds) {
  if (sqlite3_open_v2(store.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      sqlite3_exec(db_, "begin immediate", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    throw std::runtime_error("the write lock of " + store + " could not be taken");
  }
  sorrel::store::setBusyTimeoutForTesting(busyMilliseconds);
}

StoreWriteLock::~StoreWriteLock() {
  sorrel::store::setBusyTimeoutForTesting(0);
  sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
}
