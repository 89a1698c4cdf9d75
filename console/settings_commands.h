#pragma once
#include <functional>

class CSorrelmedeDlg;
class QDialog;

// Command 1053: the file-monitor rules dialog. Command 1081: the alarm settings dialog. The
// window ignores what they answer.
void qevRunMonitorRulesCommand(CSorrelmedeDlg& window);
void qevRunAlarmSettingsCommand(CSorrelmedeDlg& window);

// How the two dialogs are shown: exec() unless a test answers them. Answers the dialog's result.
using SettingsDialogRunner = std::function<int(QDialog& dialog)>;
void qevSetSettingsDialogRunnerForTesting(SettingsDialogRunner runner);
