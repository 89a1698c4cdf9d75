#include "maintenance/scan/scan_list.h"

#include <vector>

#include "common/files/paths.h"
#include "common/files/text_files.h"
#include "common/messages/prompter.h"
#include "common/text/list_text.h"
#include "common/text/trim.h"
#include "maintenance/settings/config_lists.h"

namespace {

constexpr const char* kScanListName = "ScanDir.txt";
constexpr std::size_t kMaxLineLength = 0x100000;
constexpr std::size_t kMaxListTextLength = 8192;

constexpr const char* kNoDirectoryMessage =
    "请填写需要扫描的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";
constexpr const char* kLengthMessage =
    "请填写的扫描目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";

std::string missingDirectoryMessage(const std::string& line) {
  return "填写的扫描目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的扫描目录名！";
}

ScanListSave refuse(Prompter& prompter, const std::string& message) {
  prompter.inform(message, MessageIcon::Question);
  return ScanListSave::ListRefused;
}

}  // namespace

std::string qevLoadScanList() { return qevLoadListForEditing(qevOpenConfigDirectory(), kScanListName); }

ScanListSave qevSaveScanList(Prompter& prompter, const std::string& text, std::string& normalized) {
  normalized.clear();
  const std::string configDir = qevUsableConfigDirectory(prompter);
  if (configDir.empty()) return ScanListSave::ConfigUnusable;

  std::string candidate;
  std::vector<std::string> lines;
  int count = 0;
  qevNormalizeListText(text, 1, 260, false, true, candidate, lines, count);
  if (count == 0) return refuse(prompter, kNoDirectoryMessage);
  if (candidate.size() <= 2 || candidate.size() >= kMaxListTextLength) return refuse(prompter, kLengthMessage);
  for (const std::string& line : lines) {
    const std::string directory = qevTrimWhiteSpace(line);
    if (directory.empty()) continue;
    if (directory.size() >= kMaxLineLength) return refuse(prompter, kLengthMessage);
    if (qevDirectoryExists(directory) != 1) return refuse(prompter, missingDirectoryMessage(directory));
  }

  normalized = candidate;
  qevWriteFileText(qevConfigFilePath(configDir, kScanListName), normalized);
  return ScanListSave::Saved;
}
