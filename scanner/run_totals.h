#pragma once
#include <cstdint>
#include <mutex>
#include <string>

// The counters of one run, each change under one lock.
struct RunTotalsSnapshot {
  std::uint32_t filesSeen = 0;
  std::uint32_t directoriesSeen = 0;
  std::uint32_t specialFiles = 0;
  std::uint32_t specialDirectories = 0;
  // Scan roots and directories below them that could not be walked.
  std::uint32_t directoriesNotWalked = 0;
};

class RunTotals {
 public:
  void reset();
  // Counts one listed entry; answers how many entries were seen before it.
  std::uint32_t countSeen(int kind);
  void countSpecial(int kind);
  void countNotWalked();
  RunTotalsSnapshot snapshot() const;

 private:
  mutable std::mutex lock_;
  RunTotalsSnapshot totals_;
};

// The end-of-run summary lines, from the two blank lines to the final "\r\n"; when directories
// were not walked, a line with their number follows the totals.
std::string FormatRunSummary(const RunTotalsSnapshot& totals, std::uint32_t elapsedMilliseconds);
