#include "maintenance/cleaning/backup_directory.h"

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/process/process.h"
#include "common/text/text_codec.h"

namespace {

using sorrel::platform::DirectoryHandle;
using SubdirectoryState = DirectoryHandle::SubdirectoryState;

const char* const kAccessToolChecksumMessage =
    "文件“qevxconfig.exe”校验值错误，或无法访问，请重试！\r\n\r\n\r\n"
    "如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";

// Grants the administrators full access to a new backup tree through the companion tool.
// 0 only when the tool is present but fails its check value.
int grantBackupAccess(const std::string& directory, const MessageFunction& show) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) return 1;
  const std::string tool = qevCollapseSeparators(programDir + "/" + kAccessToolName);
  if (qevPathExists(tool) != 1) return 1;
  if (qevVerifyCompanionExe(programDir, kAccessToolName, kConfigFolder) != 1) {
    show(kAccessToolChecksumMessage, MessageIcon::Question);
    return 0;
  }
  qevRunProgram({tool, directory, "/T", "/C", "/G", "administrators:F", "/Y"}, 0);
  return 1;
}

}  // namespace

std::string qevBackupRootOf(const std::string& volumeRoot) {
  return qevCollapseSeparators(volumeRoot + "/" + kBackupRootName + "/");
}

std::string qevQuotedDirectories(const std::vector<std::string>& directories) {
  std::string text;
  for (const std::string& directory : directories) text += (text.empty() ? "“" : "、“") + directory + "”";
  return text;
}

int qevPrepareBackupDirectory(const std::string& volumeRoot, const std::string& date,
                              const std::string& time, BackupDirectory& directory,
                              const MessageFunction& show) {
  directory = {};
  directory.path = qevCollapseSeparators(qevBackupRootOf(volumeRoot) + date + "/" + time);
  std::u16string wide;
  if (qevAnsiToWide(directory.path, wide) != 1) {
    show("转换备份目录 " + directory.path + " 的编码失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  DirectoryHandle level = DirectoryHandle::open(volumeRoot);
  if (!level.valid()) {
    show("访问备份目录 " + directory.path + " 失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  SubdirectoryState state = SubdirectoryState::NotCreated;
  for (const std::string& name : {std::string(kBackupRootName), date, time}) {
    level = level.openOrMakeSubdirectory(name, state);
    if (!level.valid()) {
      show("建立备份目录 " + directory.path + " 失败，请重试！", MessageIcon::Stop);
      return 0;
    }
  }
  directory.handle = std::move(level);
  if (state != SubdirectoryState::Created) return 1;
  return grantBackupAccess(directory.path, show);
}

DirectoryHandle::MoveResult qevMoveIntoBackup(const BackupDirectory& directory, const std::vector<std::string>& levels,
                                              const DirectoryHandle& from, const std::string& name) {
  const DirectoryHandle* place = &directory.handle;
  DirectoryHandle opened;
  for (const std::string& level : levels) {
    SubdirectoryState state = SubdirectoryState::NotCreated;
    opened = place->openOrMakeSubdirectory(level, state);
    if (!opened.valid()) return DirectoryHandle::MoveResult::Failed;
    place = &opened;
  }
  return from.moveNoReplace(name, *place, name);
}
