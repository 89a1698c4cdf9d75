#pragma once
#include <functional>

class CSorrelmedeDlg;
class ConfirmTextsDlg;

// The monitor-log view and the commands around it, added to the main window once the other
// modules have installed theirs:
// - 1003 brings the view into the record list's place (or reloads it when it is there);
// - the log query (1045, 1033, the drop-down lists) and the display filters 1075, 1076, 1072,
//   the whitelist 1061 and the report 1087 bring the view into place first and work on it;
// - the record list's own commands (refresh, clear, clean, scan, compaction, the date ranges)
//   bring the record list back first, so they never act on rows the operator does not see;
// - check all and uncheck all work on the list in place.
void qevInstallMonitorLogCommands(CSorrelmedeDlg& window);

// Tests answer the confirmation dialogs (CUserExFileDlg, CReportFileDlg) instead of exec();
// the runner answers QDialog::Accepted or Rejected. Empty: exec().
using ConfirmDialogRunner = std::function<int(ConfirmTextsDlg& dialog)>;
void qevSetConfirmDialogRunnerForTesting(ConfirmDialogRunner runner);

class MonitorLogView;
// The window's monitor-log view (nullptr before the commands are installed).
MonitorLogView* qevMonitorLogView(CSorrelmedeDlg& window);
