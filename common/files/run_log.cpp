#include "common/files/run_log.h"

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/files/paths.h"
#include "common/platform/files.h"
#include "common/platform/system.h"

namespace {

constexpr std::size_t kShortestText = 11;
constexpr std::uint64_t kLargestLimit = 52428800;  // 50 MiB
constexpr std::uint64_t kLimitCeiling = 4294967296ULL;

std::uint64_t effectiveLimit(std::uint64_t sizeLimit) {
  if (sizeLimit >= kLimitCeiling || sizeLimit < kRunLogLimit || sizeLimit > kLargestLimit) {
    return kRunLogLimit;
  }
  return sizeLimit;
}

// The folder of the log, created when missing; "" when it cannot be had.
std::string logFolder(const std::string& dir, const std::string& subfolder) {
  std::string folder = qevCollapseSeparators(dir + "/" + subfolder);
  if (folder.size() >= 3 && folder.size() <= 260 && folder.back() == '/') folder.pop_back();
  if (folder.empty() || folder.size() > 259) return {};
  if (!sorrel::platform::isDirectory(folder)) qevCreateDirectoryChain(folder);
  return sorrel::platform::isDirectory(folder) ? folder : std::string();
}

}  // namespace

int qevWriteRunLog(const std::string& text, const std::string& subfolder,
                   const std::string& fileName, std::uint64_t sizeLimit) {
  if (text.size() < kShortestText || text.size() > kMaxFileBytes) return 0;
  if (fileName.empty() || fileName.size() > 259) return 0;
  std::string dir;
  if (qevGetExeDir(dir) != 1 || dir.size() < 4 || dir.size() > 259) return 0;
  const std::uint64_t limit = effectiveLimit(sizeLimit);

  const std::string folder = logFolder(dir, subfolder);
  if (folder.empty()) return 0;
  const std::string path = qevCollapseSeparators(dir + "/" + subfolder + "/" + fileName);
  if (path.size() > 259) return 0;

  using sorrel::platform::LockedFile;
  LockedFile file = LockedFile::openForAppend(path, sorrel::platform::LockRetry{});
  std::uint64_t size = 0;
  if (!file.isOpen() || !file.size(size)) return 0;
  if (size > limit && !file.truncate()) return 0;
  const std::string line = sorrel::platform::localTimestamp() + " - " + text + "\r\n";
  return file.append(line) ? 1 : 0;
}
