#include "console/server_command.h"

#include "console/set_server_ip.h"
#include "console/sorrelmede_dlg.h"

namespace {

ServerDialogRunner& dialogRunner() {
  static ServerDialogRunner runner;
  return runner;
}

}  // namespace

void qevSetServerDialogRunnerForTesting(ServerDialogRunner runner) { dialogRunner() = std::move(runner); }

void qevRunServerManagementCommand(CSorrelmedeDlg& window) {
  CSetServerIP dialog(window.prompter(), &window);
  if (dialogRunner())
    dialogRunner()(dialog);
  else
    dialog.exec();
}
