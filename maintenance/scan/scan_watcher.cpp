#include "maintenance/scan/scan_watcher.h"

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "maintenance/records/record_query.h"

namespace {

constexpr int kPollSeconds = 3;

}  // namespace

void qevRunScanWatcher(const WorkerLoop& loop) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    qevShowOperatorMessage(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  while (!loop.stopRequested()) {
    if (qevReadSettingInt(kRefreshRecordsKey, 0) == 1) {
      // Reset first: a "1" the scanner writes during the reload then survives for the next
      // round, so its rows are never left waiting for a manual refresh.
      qevWriteSetting(kRefreshRecordsKey, "0");
      try {
        qevReloadAllRecords();
      } catch (...) {
        // A failed reload costs nothing the next signal or a manual refresh does not repair;
        // the watcher itself must keep running.
      }
    }
    if (!loop.sleepSeconds(kPollSeconds)) return;
  }
}
