#include "maintenance/scan/scan_list.h"

#include "common/files/text_files.h"
#include "common/messages/prompter.h"
#include "maintenance/settings/config_lists.h"
#include "maintenance/settings/directory_list.h"

namespace {

constexpr const char* kScanListName = "ScanDir.txt";

std::string missingDirectoryMessage(const std::string& line) {
  return "填写的扫描目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的扫描目录名！";
}

constexpr DirectoryListMessages kScanListMessages{
    "请填写需要扫描的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！",
    "请填写的扫描目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！",
    missingDirectoryMessage,
};

}  // namespace

std::string qevLoadScanList() { return qevLoadListForEditing(qevOpenConfigDirectory(), kScanListName); }

ScanListSave qevSaveScanList(Prompter& prompter, const std::string& text, std::string& normalized) {
  normalized.clear();
  const std::string configDir = qevUsableConfigDirectory(prompter);
  if (configDir.empty()) return ScanListSave::ConfigUnusable;

  std::string candidate;
  if (const std::string problem = qevCheckDirectoryList(text, kScanListMessages, candidate, DirectoryLinks::Allowed);
      !problem.empty()) {
    prompter.inform(problem, MessageIcon::Question);
    return ScanListSave::ListRefused;
  }
  // A scan must never start on an older list than the one the operator just confirmed.
  const std::string path = qevConfigFilePath(configDir, kScanListName);
  if (qevWriteFileText(path, candidate) != 1) {
    prompter.inform("保存配置文件“" + path + "”失败，请重试！", MessageIcon::Question);
    return ScanListSave::NotWritten;
  }
  normalized = candidate;
  return ScanListSave::Saved;
}
