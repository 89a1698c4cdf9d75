#include "common/files/paths.h"

#include <vector>

#include "common/files/exe_dir.h"
#include "common/platform/files.h"
#include "common/platform/system.h"

// Every run of separators becomes one (the two passes of "replace // by /" and then some: on
// Linux any run of slashes names the same directory).
std::string qevCollapseSeparators(std::string path) {
  std::string collapsed;
  collapsed.reserve(path.size());
  for (const char c : path) {
    if (c == '/' && !collapsed.empty() && collapsed.back() == '/') continue;
    collapsed += c;
  }
  return collapsed;
}

std::string qevProgramPath(const std::string& relative) {
  std::string dir;
  if (qevGetExeDir(dir) != 1) return {};
  return qevCollapseSeparators(dir + "/" + relative);
}

int qevPathExists(const std::string& path) {
  if (path.size() <= 3 || path.size() >= 260) return 0;
  return sorrel::platform::entryExists(path) ? 1 : 0;
}

int qevDirectoryExists(const std::string& path) {
  if (path.size() <= 3 || path.size() >= 260) return 0;
  return sorrel::platform::lookupEntry(path).kind == sorrel::platform::EntryKind::Directory ? 1 : 0;
}

int qevResolvesToDirectory(const std::string& path) {
  if (path.size() <= 3 || path.size() >= 260) return 0;
  return sorrel::platform::isDirectory(path) ? 1 : 0;
}

int qevCreateDirectoryChain(const std::string& path) {
  if (path.size() < 3 || path.size() > 260 || path.front() != '/') return 0;
  const std::string collapsed = qevCollapseSeparators(path);
  std::vector<std::string> levels;
  std::size_t start = 1;
  while (start <= collapsed.size()) {
    const std::size_t end = collapsed.find('/', start);
    const std::string level = collapsed.substr(start, end == std::string::npos ? end : end - start);
    if (!level.empty()) levels.push_back(level);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::string current;
  for (const std::string& level : levels) {
    current += "/" + level;
    if (sorrel::platform::entryExists(current)) continue;
    if (!sorrel::platform::makeDirectory(current)) return 0;
    sorrel::platform::sleepMilliseconds(10);  // let the file system settle before the next level
  }
  return levels.empty() ? 0 : 1;
}
