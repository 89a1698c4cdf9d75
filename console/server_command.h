#pragma once
#include <functional>

class CSorrelmedeDlg;
class CSetServerIP;

// Command 1001: the server list dialog, run modally over the main window; nothing is read back.
void qevRunServerManagementCommand(CSorrelmedeDlg& window);

// How the dialog is shown: exec() unless a test drives it.
using ServerDialogRunner = std::function<void(CSetServerIP& dialog)>;
void qevSetServerDialogRunnerForTesting(ServerDialogRunner runner);
