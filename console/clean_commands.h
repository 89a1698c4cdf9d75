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

inline constexpr const char* kCleaningStartedMessage =
    "已经开始清理选择的目录文件\r\n\r\n\r\n正在备份目录文件到“硬盘:\\qev_dot_file_backup\\”目录中，请稍候……";
