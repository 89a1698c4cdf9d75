#pragma once
#include <functional>

class CSorrelmedeDlg;
class CReNameFileDlg;

// Command 1048: confirms the checked entries, marks their rows '2' and raises the cleaning
// request for the cleaning worker.
void qevRunCleanCommand(CSorrelmedeDlg& window);
// Command 1065: withdraws the request; a running pass stops before its next entry.
void qevRunStopCleaningCommand(CSorrelmedeDlg& window);

// How the confirmation dialog is shown: exec() unless a test answers it.
using RenameDialogRunner = std::function<int(CReNameFileDlg& dialog)>;
void qevSetRenameDialogRunnerForTesting(RenameDialogRunner runner);
