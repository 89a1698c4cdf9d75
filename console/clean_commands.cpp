#include "console/clean_commands.h"

#include <string>
#include <vector>

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "common/store/datastore.h"
#include "console/cleaning_state.h"
#include "console/prompter.h"
#include "console/record_list_model.h"
#include "console/rename_file_dlg.h"
#include "console/sorrelmede_dlg.h"

namespace {

constexpr int kPathColumn = 6;
constexpr int kRecordIdColumn = 7;
constexpr int kMaxListRows = 0x6400000;
constexpr std::size_t kMaxPathLength = 32767;

struct CheckedEntry {
  std::string path;
  std::string recordId;
};

RenameDialogRunner& dialogRunner() {
  static RenameDialogRunner runner;
  return runner;
}

// Taken before any dialog opens: a reload inside the dialog's event loop replaces the rows and
// their check marks.
std::vector<CheckedEntry> checkedEntries(const RecordListModel& list) {
  std::vector<CheckedEntry> entries;
  for (int row = 0; row < list.rows(); ++row) {
    if (!list.isChecked(row)) continue;
    CheckedEntry entry{list.text(row, kPathColumn), list.text(row, kRecordIdColumn)};
    if (!entry.path.empty() && entry.path.size() <= kMaxPathLength) entries.push_back(std::move(entry));
  }
  return entries;
}

bool confirmed(CSorrelmedeDlg& window, const std::vector<CheckedEntry>& entries) {
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (const CheckedEntry& entry : entries) paths.push_back(entry.path);
  CReNameFileDlg dialog(window.prompter(), std::move(paths), &window);
  const int result = dialogRunner() ? dialogRunner()(dialog) : dialog.exec();
  return result == QDialog::Accepted;
}

void markForCleaning(const std::vector<CheckedEntry>& entries) {
  qevExecuteSql("update fileinfo set CompactDatabase = '0'");
  std::vector<std::string> statements;
  statements.reserve(entries.size());
  for (const CheckedEntry& entry : entries) {
    statements.push_back("update fileinfo set CompactDatabase = '2', filesize2 = '0' where filenameid = '" +
                         qevSqlQuote(entry.recordId) + "'");
  }
  qevExecuteSqlList(statements);
}

}  // namespace

void qevSetRenameDialogRunnerForTesting(RenameDialogRunner runner) { dialogRunner() = std::move(runner); }

void qevRunCleanCommand(CSorrelmedeDlg& window) {
  Prompter& prompter = window.prompter();
  const int rows = window.recordList().rows();
  if (rows <= 0 || rows >= kMaxListRows) {
    prompter.inform("请点“扫描特殊带点文件”，先搜索网站里包含特殊字符的目录文件！", MessageIcon::Question);
    return;
  }
  const std::vector<CheckedEntry> entries = checkedEntries(window.recordList());
  if (entries.empty()) {
    prompter.inform("请先选择需要进行清理目录文件！", MessageIcon::Question);
    return;
  }
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  if (!confirmed(window, entries)) return;
  markForCleaning(entries);
  // Counted before the key is raised: a worker that sees the key has also seen the count.
  qevCleaningRequestsRaised().set(qevCleaningRequestsRaised().get() + 1);
  qevWriteSetting(kCleaningRequestKey, "1");
  qevCleaningActive().set(1);
  prompter.inform(kCleaningStartedMessage, MessageIcon::Information);
}

void qevRunStopCleaningCommand(CSorrelmedeDlg& window) {
  Prompter& prompter = window.prompter();
  if (qevCleaningActive().get() != 1) {
    prompter.inform("当前未启动文件清理！", MessageIcon::Question);
    return;
  }
  if (!prompter.askYesNo("确定停止清理文件吗？")) return;
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return;
  }
  qevWriteSetting(kCleaningRequestKey, "0");
  qevCleaningActive().set(0);
  prompter.inform("停止文件清理成功！", MessageIcon::Information);
}
