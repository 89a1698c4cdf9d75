#include "console/window_thread_calls.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <condition_variable>
#include <mutex>

struct WindowCalls::Core {
  QPointer<QObject> window;
  QThread* thread = nullptr;
  std::mutex mutex;
  std::condition_variable changed;
  bool closing = false;
};

namespace {

// The state of one waited-for call, shared by the worker and the queued work.
struct PendingCall {
  bool started = false;
  bool finished = false;
  bool abandoned = false;
};

}  // namespace

bool WindowCalls::closing() const {
  if (!core_) return true;
  std::lock_guard lock(core_->mutex);
  return core_->closing;
}

bool WindowCalls::onWindowThread() const { return core_ && QThread::currentThread() == core_->thread; }

bool WindowCalls::post(std::function<void()> work) const {
  if (!core_ || !work) return false;
  std::lock_guard lock(core_->mutex);
  if (core_->closing || core_->window.isNull()) return false;
  std::shared_ptr<Core> core = core_;
  return QMetaObject::invokeMethod(
      core_->window.data(),
      [core, work = std::move(work)] {
        {
          std::lock_guard inner(core->mutex);
          if (core->closing) return;
        }
        work();
      },
      Qt::QueuedConnection);
}

bool WindowCalls::call(const std::function<void()>& work) const {
  if (!core_ || !work) return false;
  if (onWindowThread()) {
    if (closing()) return false;
    work();
    return true;
  }
  auto pending = std::make_shared<PendingCall>();
  std::shared_ptr<Core> core = core_;
  {
    std::lock_guard lock(core->mutex);
    if (core->closing || core->window.isNull()) return false;
    // work is only run while the caller still waits for it, so references it holds stay valid.
    const bool queued = QMetaObject::invokeMethod(
        core->window.data(),
        [core, pending, &work] {
          {
            std::lock_guard inner(core->mutex);
            if (pending->abandoned || core->closing) return;
            pending->started = true;
          }
          work();
          std::lock_guard inner(core->mutex);
          pending->finished = true;
          core->changed.notify_all();
        },
        Qt::QueuedConnection);
    if (!queued) return false;
  }
  std::unique_lock lock(core->mutex);
  core->changed.wait(lock, [&] { return pending->finished || (core->closing && !pending->started); });
  if (!pending->finished) pending->abandoned = true;
  return pending->finished;
}

WindowThreadCalls::WindowThreadCalls(QObject* window) : core_(std::make_shared<WindowCalls::Core>()) {
  core_->window = window;
  core_->thread = window != nullptr ? window->thread() : nullptr;
}

WindowThreadCalls::~WindowThreadCalls() { close(); }

void WindowThreadCalls::close() {
  std::lock_guard lock(core_->mutex);
  core_->closing = true;
  core_->changed.notify_all();
}
