#include "maintenance/logs/log_reimport.h"

#include <vector>

#include "common/messages/prompter.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_records.h"
#include "maintenance/logs/log_import.h"

namespace {

constexpr const char* kReimportQuestion = "确定将先前下载的日志文件重新导入到数据库中吗？";
constexpr const char* kNoLogFiles = "日志文件未找到，请重新下载日志文件！";

constexpr std::size_t kMinIp = 7;
constexpr std::size_t kMaxIp = 15;
constexpr std::size_t kMinListedName = 3;
constexpr std::size_t kMaxListedName = 255;

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

ReimportOutcome reimport(const std::string& path) {
  std::string ip;
  std::string listedName;
  if (qevLogFileOrigin(fileNameOf(path), ip, listedName) != 1) return ReimportOutcome::NameNotUnderstood;
  // A failed lookup imports the file: its rows replace what it gave before, so nothing doubles.
  if (qevIsLogImported(ip, listedName) == 1) return ReimportOutcome::MarkedImported;
  bool stored = false;
  if (qevImportLogFile(ip, path, &stored) != 1) return ReimportOutcome::Unreadable;
  return stored ? ReimportOutcome::Imported : ReimportOutcome::NotStored;
}

}  // namespace

int qevLogFileOrigin(const std::string& fileName, std::string& ip, std::string& listedName) {
  ip.clear();
  listedName.clear();
  const std::size_t first = fileName.find('_');
  const std::size_t second = first == std::string::npos ? first : fileName.find('_', first + 1);
  if (second == std::string::npos) return 0;
  const std::string ipPart = fileName.substr(first + 1, second - first - 1);
  // The listed name follows the first "_" from position 3 on: the one after the ip in the
  // names the download gives ("_" at 0).
  const std::size_t nameAfter = fileName.size() <= 3 ? std::string::npos : fileName.find('_', 3);
  const std::string namePart = nameAfter == std::string::npos ? fileName : fileName.substr(nameAfter + 1);
  if (ipPart.size() < kMinIp || ipPart.size() > kMaxIp) return 0;
  if (namePart.size() < kMinListedName || namePart.size() > kMaxListedName) return 0;
  ip = ipPart;
  listedName = namePart;
  return 1;
}

int qevReimportLogFiles(Prompter& prompter, const ReimportHooks& hooks) {
  if (!prompter.askYesNo(kReimportQuestion)) return 2;
  std::vector<std::string> paths;
  if (qevFindDownloadedLogs(qevDownloadDirectory(), paths) != 1) {
    prompter.inform(kNoLogFiles, MessageIcon::Question);
    return 0;
  }
  for (const std::string& path : paths) {
    const ReimportOutcome outcome = reimport(path);
    if (hooks.onFile) hooks.onFile(path, outcome);
  }
  return 1;
}

std::string qevReimportOutcomeText(const std::string& path, ReimportOutcome outcome) {
  switch (outcome) {
    case ReimportOutcome::Imported: return "已重新导入：" + path;
    case ReimportOutcome::NotStored: return "导入数据库失败：" + path;
    case ReimportOutcome::Unreadable: return "读取日志文件失败：" + path;
    case ReimportOutcome::NameNotUnderstood: return "文件名无法识别，跳过：" + path;
    case ReimportOutcome::MarkedImported: return "已经导入数据库，跳过：" + path;
  }
  return {};
}
