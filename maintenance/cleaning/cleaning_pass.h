#pragma once
#include <functional>
#include <string>
#include <vector>

#include "maintenance/cleaning/backup_directory.h"

// What a cleaning pass needs from the main window. The pass runs on the cleaning worker's
// thread; the window decides how each call reaches its own thread.
struct CleaningPassHooks {
  std::function<void(int maximum)> setProgressRange;
  std::function<void(int position)> setProgressPosition;
  std::function<bool()> isActive;  // the cleaning-active flag, read under the cleaning lock
  MessageFunction show;
  std::function<void()> reloadRecords;
};

struct CleaningPassResult {
  unsigned marked = 0;  // rows marked '2' when the pass started
  unsigned taken = 0;   // marked rows read for the pass
  unsigned moved = 0;   // entries moved into the backup tree
  bool summarized = false;
  // The backup directory of each volume the pass prepared, in the order they were first needed.
  std::vector<std::string> backupDirectories;
};

inline constexpr const char* kMovedText = "已清理；已移动到备份目录";
inline constexpr const char* kMissingText = "已清理；文件或路径不存在，可能在这之前已经动到备份目录";

// The date ("%Y-%m-%d") and time ("%H-%M-%S") of a pass starting now, in local time.
struct CleaningPassTime {
  std::string date;
  std::string time;
};
CleaningPassTime qevCleaningPassTimeNow();

// Moves every entry whose row is marked '2' (as many as the record list shows, in insertion
// order) into <volume root>/qev_dot_file_backup/<date>/<time>/<path below the volume root>,
// records each outcome in its row and shows the summary, which names the backup directories and
// counts every marked row that was not cleaned. date is "%Y-%m-%d", time "%H-%M-%S", taken once.
// A volume whose backup directory cannot be prepared is reported once and its entries skipped.
// An entry is skipped when a link or a mount point lies on its way or at or below it.
CleaningPassResult qevRunCleaningPass(const CleaningPassHooks& hooks, const std::string& date,
                                      const std::string& time);
