#pragma once
#include <chrono>
#include <stop_token>

// What a long-lived worker needs to run until it is told to stop: whether the stop was asked
// for, and sleeps that wake at once when it is. Front ends derive what else their workers get.
class WorkerLoop {
 public:
  explicit WorkerLoop(std::stop_token stop) : stop_(std::move(stop)) {}

  bool stopRequested() const { return stop_.stop_requested(); }
  // Sleeps, but wakes at once when the stop is asked for. False when it was woken by the stop.
  bool sleepFor(std::chrono::milliseconds duration) const;
  // The workers' poll period: whole seconds slept one at a time. False when woken by the stop.
  bool sleepSeconds(int seconds) const;

 private:
  std::stop_token stop_;
};
