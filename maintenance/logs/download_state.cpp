#include "maintenance/logs/download_state.h"

bool DownloadState::claim() {
  std::lock_guard lock(mutex_);
  if (taken_) return false;
  taken_ = true;
  running_ = true;
  return true;
}

void DownloadState::requestStop() {
  std::lock_guard lock(mutex_);
  running_ = false;
}

void DownloadState::release() {
  std::lock_guard lock(mutex_);
  taken_ = false;
  running_ = false;
}

bool DownloadState::running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

bool DownloadState::busy() const {
  std::lock_guard lock(mutex_);
  return taken_;
}

DownloadState& qevDownloadState() {
  static DownloadState state;
  return state;
}
