#include "console/restore_backup_command.h"

#include <vector>

#include "common/messages/prompter.h"
#include "console/folder_picker.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/records/record_query.h"
#include "maintenance/restore/restore_command.h"

namespace {

// A message box has room for this many entries that stayed.
constexpr std::size_t kListedEntries = 20;

}  // namespace

void qevRunRestoreBackupCommand(CSorrelmedeDlg& window) {
  std::string directory;
  if (qevBrowseFolder(&window, directory) != 1) return;
  std::vector<RestoreItem> items;
  RestoreHooks hooks;
  hooks.onItem = [&items](const RestoreItem& item) { items.push_back(item); };
  RestoreResult result;
  if (qevRunRestoreCommand(window.prompter(), directory, false, hooks, result) != 1) return;
  qevReloadAllRecords();
  std::string summary = qevRestoreSummaryText(result, false);
  const std::string left = qevRestoreLeftText(items, kListedEntries);
  if (!left.empty()) summary += "\r\n\r\n" + left;
  window.prompter().inform(summary, MessageIcon::Information);
}
