#pragma once
#include <functional>
#include <string>

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
  unsigned taken = 0;  // marked rows read for the pass
  unsigned moved = 0;  // entries moved into the backup tree
  bool summarized = false;
};

inline constexpr const char* kMovedText = "已清理；已移动到备份目录";
inline constexpr const char* kMissingText = "已清理；文件或路径不存在，可能在这之前已经动到备份目录";

// The date ("%Y-%m-%d") and time ("%H-%M-%S") of a pass starting now, in local time.
struct CleaningPassTime {
  std::string date;
  std::string time;
};
CleaningPassTime qevCleaningPassTimeNow();

// Moves every entry whose row is marked '2' (at most 9999, in insertion order) into
// <volume root>/qev_dot_file_backup/<date>/<time>/<path below the volume root>, records each
// outcome in its row and shows the summary. date is "%Y-%m-%d", time "%H-%M-%S", taken once.
CleaningPassResult qevRunCleaningPass(const CleaningPassHooks& hooks, const std::string& date,
                                      const std::string& time);
