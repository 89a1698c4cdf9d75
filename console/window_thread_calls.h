#pragma once
#include <QObject>
#include <functional>
#include <memory>

// Calls queued onto the window's thread from worker threads. The window owns one instance; the
// workers hold a WindowCalls handle (cheap to copy) and never touch a widget themselves.
// Once the window closes, every call is refused and a worker waiting for one is released, so
// the window can join its workers without a deadlock.
class WindowCalls {
 public:
  WindowCalls() = default;

  // Queues work onto the window's thread and returns at once; false when the window is closing.
  bool post(std::function<void()> work) const;
  // Queues work and waits until the window's thread has run it (runs it at once when called on
  // that thread); false when the window closed before the work could start.
  bool call(const std::function<void()>& work) const;
  bool closing() const;
  bool onWindowThread() const;

 private:
  friend class WindowThreadCalls;
  struct Core;
  explicit WindowCalls(std::shared_ptr<Core> core) : core_(std::move(core)) {}
  std::shared_ptr<Core> core_;
};

class WindowThreadCalls {
 public:
  // window: the object whose thread carries out the calls (the main window).
  explicit WindowThreadCalls(QObject* window);
  ~WindowThreadCalls();
  WindowThreadCalls(const WindowThreadCalls&) = delete;
  WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

  WindowCalls handle() const { return WindowCalls(core_); }
  // Refuses further calls and releases every worker waiting for one. Idempotent.
  void close();

 private:
  std::shared_ptr<WindowCalls::Core> core_;
};
