#include "maintenance/cleaning/clean_request.h"

#include <algorithm>

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/messages/operator_message.h"
#include "common/messages/prompter.h"
#include "common/platform/volume.h"
#include "common/store/datastore.h"
#include "maintenance/cleaning/backup_directory.h"
#include "maintenance/cleaning/cleaning_state.h"

namespace {

constexpr int kMaxListRows = 0x6400000;
constexpr std::size_t kMaxPathLength = 32767;

std::vector<CheckedEntry> entriesWithUsablePaths(const std::vector<CheckedEntry>& checked) {
  std::vector<CheckedEntry> kept;
  for (const CheckedEntry& entry : checked) {
    if (!entry.path.empty() && entry.path.size() <= kMaxPathLength) kept.push_back(entry);
  }
  return kept;
}

std::vector<std::string> pathsOf(const std::vector<CheckedEntry>& entries) {
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (const CheckedEntry& entry : entries) paths.push_back(entry.path);
  return paths;
}

// The reset and the marks go in one transaction: a busy or failing store leaves every row as it
// was, never old marks beside new ones nor a reset without its marks.
bool markForCleaning(const std::vector<CheckedEntry>& entries) {
  std::vector<std::string> statements;
  statements.reserve(entries.size() + 1);
  statements.push_back("update fileinfo set CompactDatabase = '0'");
  for (const CheckedEntry& entry : entries) {
    statements.push_back("update fileinfo set CompactDatabase = '2', filesize2 = '0' where filenameid = '" +
                         qevSqlQuote(entry.recordId) + "'");
  }
  return qevExecuteSqlList(statements) == 1;
}

}  // namespace

std::string qevCleaningStartedMessage(const std::vector<std::string>& paths) {
  const std::vector<sorrel::platform::MountPoint> mounts = sorrel::platform::readMountTable();
  std::vector<std::string> roots;
  for (const std::string& path : paths) {
    sorrel::platform::MountPoint volume;
    if (!sorrel::platform::findVolume(mounts, path, volume)) continue;
    const std::string root = qevBackupRootOf(volume.path);
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
  }
  return "已经开始清理选择的目录文件\r\n\r\n\r\n正在备份目录文件到" + qevQuotedDirectories(roots) +
         "目录中，请稍候……";
}

bool qevMarkForCleaning(Prompter& prompter, int listRows, const std::vector<CheckedEntry>& checked,
                        const CleaningConfirmation& confirm) {
  if (listRows <= 0 || listRows >= kMaxListRows) {
    prompter.inform("请点“扫描特殊带点文件”，先搜索网站里包含特殊字符的目录文件！", MessageIcon::Question);
    return false;
  }
  const std::vector<CheckedEntry> entries = entriesWithUsablePaths(checked);
  if (entries.empty()) {
    prompter.inform("请先选择需要进行清理目录文件！", MessageIcon::Question);
    return false;
  }
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return false;
  }
  if (!confirm(pathsOf(entries))) return false;
  if (!markForCleaning(entries)) {
    prompter.inform(kMarkingFailedMessage, MessageIcon::Question);
    return false;
  }
  return true;
}

void qevRequestCleaning(Prompter& prompter, int listRows, const std::vector<CheckedEntry>& checked,
                        const CleaningConfirmation& confirm) {
  if (!qevMarkForCleaning(prompter, listRows, checked, confirm)) return;
  qevRaiseCleaningRequest();
  prompter.inform(qevCleaningStartedMessage(pathsOf(entriesWithUsablePaths(checked))), MessageIcon::Information);
}

void qevStopCleaning(Prompter& prompter) {
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
