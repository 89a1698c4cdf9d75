#include "console/settings_commands.h"

#include "console/modify_config_dlg.h"
#include "console/report_status_config_dlg.h"
#include "console/sorrelmede_dlg.h"

namespace {

SettingsDialogRunner& dialogRunner() {
  static SettingsDialogRunner runner;
  return runner;
}

void run(QDialog& dialog) {
  if (dialogRunner()) dialogRunner()(dialog);
  else dialog.exec();
}

}  // namespace

void qevSetSettingsDialogRunnerForTesting(SettingsDialogRunner runner) { dialogRunner() = std::move(runner); }

void qevRunMonitorRulesCommand(CSorrelmedeDlg& window) {
  CModifyConfigDlg dialog(window.prompter(), &window);
  run(dialog);
}

void qevRunAlarmSettingsCommand(CSorrelmedeDlg& window) {
  CReportStatusConfigDlg dialog(window.prompter(), window.desktop().openAddress, &window);
  run(dialog);
}
