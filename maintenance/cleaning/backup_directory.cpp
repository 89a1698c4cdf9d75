#include "maintenance/cleaning/backup_directory.h"

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/files/paths.h"
#include "common/process/process.h"
#include "common/text/text_codec.h"

namespace {

const char* const kAccessToolChecksumMessage =
    "文件“qevxconfig.exe”校验值错误，或无法访问，请重试！\r\n\r\n\r\n"
    "如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";

bool isExistingDirectory(const std::string& directory) {
  std::u16string wide;
  return qevPathExists(directory) == 1 && qevAnsiToWide(directory, wide) == 1 &&
         qevGetPathKind(wide) == 2;
}

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

int qevPrepareBackupDirectory(const std::string& volumeRoot, const std::string& date,
                              const std::string& time, std::string& directory,
                              const MessageFunction& show) {
  directory = qevCollapseSeparators(qevBackupRootOf(volumeRoot) + date + "/" + time);
  std::u16string wide;
  if (qevAnsiToWide(directory, wide) != 1) {
    show("转换备份目录 " + directory + " 的编码失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  if (isExistingDirectory(directory)) return 1;
  if (qevCreateDirectoryChain(directory) != 1) {
    show("建立备份目录 " + directory + " 失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  if (qevPathExists(directory) != 1) {
    show("访问备份目录 " + directory + " 失败，请重试！", MessageIcon::Stop);
    return 0;
  }
  return grantBackupAccess(directory, show);
}
