#pragma once
#include <string>
#include <vector>

#include "maintenance/logs/monitor_log_row.h"

// The monitor-log view's query over table fmlog. Every value from the operator is quoted (its
// apostrophes doubled) and, inside a pattern, its wildcards escaped, so it matches as typed.

inline constexpr int kMonitorLogRowLimit = 10000;

// The rows the view shows: every condition that is set must hold; "" leaves a field free.
struct MonitorLogFilter {
  std::string serverIp;  // serip equals it
  std::string action;    // fileaction equals it
  std::string category;  // chkfileinfo equals it
  std::string keyword;   // the path (filename) or the note (blockfileinfo) contains it
  // The display filters: with any of them set, only rows of the kinds set; with none, all.
  bool whitelistFiles = false;
  bool suspiciousFiles = false;
  bool trojanFiles = false;
};

// The order of the view: by one view column, then by key in the same direction.
struct MonitorLogOrder {
  int column = monitor_log_column::kTime;
  bool descending = true;  // the newest first

  // A header click: the same column again flips the direction, another column sorts ascending.
  void clickHeader(int viewColumn);
};

// "select top 10000 * from fmlog [where ...] order by ...".
std::string qevMonitorLogQuery(const MonitorLogFilter& filter, const MonitorLogOrder& order);

// Runs the query: 1 and the rows in view order (at most 10,000), 0 failure (rows empty).
int qevLoadMonitorLog(const MonitorLogFilter& filter, const MonitorLogOrder& order,
                      std::vector<MonitorLogRow>& rows);
