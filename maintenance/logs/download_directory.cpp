#include "maintenance/logs/download_directory.h"

#include "common/files/paths.h"
#include "common/files/plain_file_name.h"
#include "common/files/text_files.h"
#include "common/platform/files.h"

namespace {

constexpr const char* kRelativeDirectory = "qev_log_file/fmlog";
// The two spellings in which the logs are looked for ("_*_FMLog_20*.txt" when they are cleared)
// name the same files: the match ignores letter case.
constexpr const char* kLogPattern = "_*_fmlog_20*.txt";

}  // namespace

std::string qevDownloadDirectory() { return qevProgramPath(kRelativeDirectory); }

int qevLocalLogPath(const std::string& directory, const std::string& ip, const std::string& name, std::string& path) {
  path.clear();
  const std::string leaf = "_" + ip + "_" + name;
  if (directory.empty() || ip.empty() || !qevIsPlainFileName(name) || !qevIsPlainFileName(leaf)) return 0;
  path = qevCollapseSeparators(directory + "/" + leaf);
  return 1;
}

int qevStoreDownloadedLog(const std::string& path, const std::string& content) {
  if (path.empty() || content.empty()) return 0;
  // The name is never opened: a link planted there is replaced, not followed, and no empty file
  // appears under the name while the content is written.
  return sorrel::platform::replaceWithNewFile(path, content) ? 1 : 0;
}

int qevFindDownloadedLogs(const std::string& directory, std::vector<std::string>& paths) {
  paths.clear();
  if (directory.empty()) return 0;
  std::vector<std::string> names;
  return qevFindFiles(qevCollapseSeparators(directory + "/" + kLogPattern), names, paths, NameCase::Ignored);
}

int qevDeleteDownloadedLogs(const std::string& directory) {
  std::vector<std::string> paths;
  qevFindDownloadedLogs(directory, paths);
  int deleted = 0;
  for (const std::string& path : paths) deleted += sorrel::platform::removeFile(path) ? 1 : 0;
  return deleted;
}
