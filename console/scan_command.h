#pragma once
#include <functional>

class CSorrelmedeDlg;
class CScanConfigDlg;

// Command 1066: the scan command, with the scan dialog as the scan list editor.
void qevRunScanCommand(CSorrelmedeDlg& window);

// How the scan dialog is shown: exec() unless a test answers it. Answers the dialog's result.
using ScanDialogRunner = std::function<int(CScanConfigDlg& dialog)>;
void qevSetScanDialogRunnerForTesting(ScanDialogRunner runner);
