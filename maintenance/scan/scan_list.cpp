#include "maintenance/scan/scan_list.h"

#include <vector>

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/files/paths.h"
#include "common/files/text_files.h"
#include "common/messages/operator_message.h"
#include "common/messages/prompter.h"
#include "common/process/process.h"
#include "common/text/list_text.h"
#include "common/text/text_codec.h"
#include "common/text/trim.h"

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

std::string configDirectoryOf(const std::string& programDir) {
  return qevCollapseSeparators(programDir + "/" + kConfigFolder);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// A scan root must be an existing directory (a file or a dangling name cannot be walked).
bool isExistingDirectory(const std::string& path) {
  std::u16string wide;
  return qevPathExists(path) == 1 && qevAnsiToWide(path, wide) == 1 && qevGetPathKind(wide) == 2;
}

// Answers the config directory, or "" after showing why it cannot be used.
std::string usableConfigDirectory(Prompter& prompter) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return {};
  }
  const std::string configDir = configDirectoryOf(programDir);
  if (qevPathExists(configDir) != 1 && qevCreateDirectoryChain(configDir) != 1) {
    prompter.inform("建立目录“" + configDir + "”失败，请重试！", MessageIcon::Question);
    return {};
  }
  if (qevPathExists(configDir) != 1) {
    prompter.inform("保存配置文件失败，目录“" + configDir + "”无法访问，请重试！", MessageIcon::Question);
    return {};
  }
  return configDir;
}

ScanListSave refuse(Prompter& prompter, const std::string& message) {
  prompter.inform(message, MessageIcon::Question);
  return ScanListSave::ListRefused;
}

}  // namespace

std::string qevLoadScanList() {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) return {};
  const std::string configDir = configDirectoryOf(programDir);
  if (qevPathExists(configDir) != 1 && qevCreateDirectoryChain(configDir) != 1) return {};
  std::string saved;
  if (qevReadFileText(qevCollapseSeparators(configDir + "/" + kScanListName), saved) != 1) return {};
  for (int pass = 0; pass < 2; ++pass) replaceAll(saved, "\r\n\r\n", "\r\n");
  return saved;
}

ScanListSave qevSaveScanList(Prompter& prompter, const std::string& text, std::string& normalized) {
  normalized.clear();
  const std::string configDir = usableConfigDirectory(prompter);
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
    if (!isExistingDirectory(directory)) return refuse(prompter, missingDirectoryMessage(directory));
  }

  normalized = candidate;
  qevWriteFileText(qevCollapseSeparators(configDir + "/" + kScanListName), normalized);
  return ScanListSave::Saved;
}
