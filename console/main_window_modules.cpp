#include "console/main_window_modules.h"

#include "console/clean_commands.h"
#include "console/command_ids.h"
#include "console/compaction_command.h"
#include "console/log_download_commands.h"
#include "console/monitor_log_commands.h"
#include "console/restore_backup_command.h"
#include "console/scan_command.h"
#include "console/server_command.h"
#include "console/settings_commands.h"
#include "console/window_workers.h"
#include "maintenance/scan/scan_watcher.h"

CSorrelmedeDlg::Workers qevMainWindowWorkers() { return {qevRunScanWatcher, qevRunCleaningWorker}; }

void qevInstallModuleCommands(CSorrelmedeDlg& window) {
  window.setCommandHandler(command_id::kScan, [&window] { qevRunScanCommand(window); });
  window.setCommandHandler(command_id::kClean, [&window] { qevRunCleanCommand(window); });
  window.setCommandHandler(command_id::kStopCleaning, [&window] { qevRunStopCleaningCommand(window); });
  window.setCommandHandler(command_id::kServerManagement, [&window] { qevRunServerManagementCommand(window); });
  window.setCommandHandler(command_id::kRestoreBackup, [&window] { qevRunRestoreBackupCommand(window); });
  window.setCommandHandler(command_id::kCompact, [&window] { qevRunCompactionCommand(window); });
  window.setCommandHandler(command_id::kMonitorRules, [&window] { qevRunMonitorRulesCommand(window); });
  window.setCommandHandler(command_id::kAlarmSettings, [&window] { qevRunAlarmSettingsCommand(window); });
  qevInstallLogDownloadCommands(window);
  // Last: it wraps the record list's commands installed above.
  qevInstallMonitorLogCommands(window);
}
