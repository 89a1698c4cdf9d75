#include "console/scan_command.h"

#include "console/scan_config_dlg.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/scan/scan_launch.h"

namespace {

ScanDialogRunner& dialogRunner() {
  static ScanDialogRunner runner;
  return runner;
}

}  // namespace

void qevSetScanDialogRunnerForTesting(ScanDialogRunner runner) { dialogRunner() = std::move(runner); }

void qevRunScanCommand(CSorrelmedeDlg& window) {
  const auto editScanList = [&window] {
    CScanConfigDlg dialog(window.prompter(), &window);
    const int result = dialogRunner() ? dialogRunner()(dialog) : dialog.exec();
    return result == QDialog::Accepted;
  };
  qevLaunchScan(window.prompter(), editScanList);
}
