#include "maintenance/restore/restore_command.h"

#include "common/messages/prompter.h"

namespace {

std::string notABackupDirectoryMessage(const std::string& directory) {
  return "“" + directory +
         "”不是清理文件时建立的备份目录！\r\n\r\n\r\n"
         "请选择“卷根目录/qev_dot_file_backup/日期/时间”形式的目录，例如“/qev_dot_file_backup/2012-05-01/10-20-30”。";
}

std::string missingMessage(const std::string& directory) {
  return "备份目录“" + directory + "”不存在或无法访问，请重试！";
}

std::string question(const std::string& directory) {
  return "确定将备份目录“" + directory +
         "”中的目录文件恢复到原来的位置吗？\r\n\r\n\r\n原来的位置已被占用的目录文件，将留在备份目录中。";
}

}  // namespace

int qevRunRestoreCommand(Prompter& prompter, const std::string& directory, bool dryRun, const RestoreHooks& hooks,
                         RestoreResult& result) {
  result = {};
  BackupLocation location;
  switch (qevLocateBackupDirectory(directory, location)) {
    case BackupLocationCheck::Usable: break;
    case BackupLocationCheck::Missing:
      prompter.inform(missingMessage(directory), MessageIcon::Question);
      return 0;
    case BackupLocationCheck::NotABackupDirectory:
      prompter.inform(notABackupDirectoryMessage(directory), MessageIcon::Question);
      return 0;
  }
  if (!dryRun && !prompter.askYesNo(question(location.directory))) return 2;
  result = qevRestoreBackupTree(location, dryRun, hooks);
  if (result.code != 1) {
    prompter.inform(kRestoreStoreFailedMessage, MessageIcon::Stop);
    return 0;
  }
  return 1;
}

std::string qevRestoreSummaryText(const RestoreResult& result, bool dryRun) {
  const unsigned left = result.placeTaken + result.notMoved;
  if (dryRun) {
    return "试运行，未做任何改动：可以恢复 " + std::to_string(result.restored) + " 个；不能恢复 " + std::to_string(left) +
           " 个（原来的位置已被占用 " + std::to_string(result.placeTaken) + " 个）。";
  }
  std::string text = "恢复文件完成。成功恢复 " + std::to_string(result.restored) + " 个；未恢复 " + std::to_string(left) +
                     " 个（原来的位置已被占用 " + std::to_string(result.placeTaken) + " 个）。";
  if (left > 0) text += "\r\n\r\n\r\n未恢复的目录文件仍在备份目录中。";
  return text;
}

std::string qevRestoreItemText(const RestoreItem& item) {
  switch (item.outcome) {
    case RestoreOutcome::Restored: return "已恢复：" + item.place;
    case RestoreOutcome::WouldRestore: return "将恢复：" + item.backupPath + " → " + item.place;
    case RestoreOutcome::PlaceTaken: return "原来的位置已被占用，留在备份目录中：" + item.backupPath;
    case RestoreOutcome::NotMoved: return "无法恢复，留在备份目录中：" + item.backupPath;
  }
  return {};
}

std::string qevRestoreLeftText(const std::vector<RestoreItem>& items, std::size_t limit) {
  std::string text;
  std::size_t listed = 0;
  std::size_t left = 0;
  for (const RestoreItem& item : items) {
    if (item.outcome != RestoreOutcome::PlaceTaken && item.outcome != RestoreOutcome::NotMoved) continue;
    ++left;
    if (listed == limit) continue;
    text += (text.empty() ? "" : "\r\n") + qevRestoreItemText(item);
    ++listed;
  }
  if (left > listed) text += "\r\n……另有 " + std::to_string(left - listed) + " 个";
  return text;
}
