#pragma once
#include <functional>
#include <string>

class CSorrelmedeDlg;
class CScanConfigDlg;

// Command 1066: checks that no scanner runs, lets the operator edit the scan list, withdraws any
// cleaning request, verifies the scanner's check value and starts "Sorrelscan /FileScan"
// without waiting for it.
void qevRunScanCommand(CSorrelmedeDlg& window);

// The scanner's program name ("Sorrelscan"). Tests that run stand-in scanners give them a name
// of their own, so that ending "every scanner" never reaches another test's processes.
std::string qevScannerName();
void qevSetScannerNameForTesting(const std::string& name);

// How the scan dialog is shown: exec() unless a test answers it. Answers the dialog's result.
using ScanDialogRunner = std::function<int(CScanConfigDlg& dialog)>;
void qevSetScanDialogRunnerForTesting(ScanDialogRunner runner);
