#pragma once
#include "console/sorrelmede_dlg.h"

// What other modules add to the main window: the bodies of the scan watcher and the cleaning
// worker, and the handlers of the commands they own (scan, clean, stop cleaning...), registered
// with setCommandHandler: the scan watcher and the cleaning worker, and commands 1066 (scan),
// 1048 (clean), 1065 (stop cleaning), 1050 (compaction), 1053 (monitor rules), 1081 (alarm
// settings), 32790 (restore a backup directory) and the remote-log commands 1016, 1002, 1015,
// 1035 and 1017, and last the monitor-log view with its commands (monitor_log_commands.h).
CSorrelmedeDlg::Workers qevMainWindowWorkers();
void qevInstallModuleCommands(CSorrelmedeDlg& window);
