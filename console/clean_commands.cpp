#include "console/clean_commands.h"

#include <string>
#include <vector>

#include "console/record_list_model.h"
#include "console/rename_file_dlg.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/cleaning/clean_request.h"

namespace {

constexpr int kPathColumn = 6;
constexpr int kRecordIdColumn = 7;

RenameDialogRunner& dialogRunner() {
  static RenameDialogRunner runner;
  return runner;
}

std::vector<CheckedEntry> checkedEntries(const RecordListModel& list) {
  std::vector<CheckedEntry> entries;
  for (int row = 0; row < list.rows(); ++row) {
    if (list.isChecked(row)) entries.push_back({list.text(row, kPathColumn), list.text(row, kRecordIdColumn)});
  }
  return entries;
}

}  // namespace

void qevSetRenameDialogRunnerForTesting(RenameDialogRunner runner) { dialogRunner() = std::move(runner); }

void qevRunCleanCommand(CSorrelmedeDlg& window) {
  const auto confirm = [&window](const std::vector<std::string>& paths) {
    CReNameFileDlg dialog(window.prompter(), paths, &window);
    const int result = dialogRunner() ? dialogRunner()(dialog) : dialog.exec();
    return result == QDialog::Accepted;
  };
  qevRequestCleaning(window.prompter(), window.recordList().rows(), checkedEntries(window.recordList()), confirm);
}

void qevRunStopCleaningCommand(CSorrelmedeDlg& window) { qevStopCleaning(window.prompter()); }
