#pragma once
#include <chrono>
#include <string>
#include <vector>

// The outcome updates of a cleaning pass, gathered in memory and written in one short
// transaction once 100 are waiting or, when the next one comes, the first has waited 200 ms, and
// whenever flush() is called. No transaction stays open while entries are moved. Each is recorded only after its entry was moved: a pass killed at any moment leaves a
// moved entry's row at '2' at worst, and the next pass records it as no longer present.
class OutcomeRows {
 public:
  OutcomeRows() = default;
  ~OutcomeRows() { flush(); }
  OutcomeRows(const OutcomeRows&) = delete;
  OutcomeRows& operator=(const OutcomeRows&) = delete;

  // Sets state '1' and the outcome text on every row of the stored path.
  void record(const std::string& storedPath, const char* text);
  // Writes what is waiting; a failed write is swallowed and leaves those rows at '2'.
  void flush();

 private:
  std::vector<std::string> pending_;
  std::chrono::steady_clock::time_point firstPending_;
};
