#include "common/files/exe_dir.h"

#include <mutex>

#include "common/files/paths.h"
#include "common/messages/event_report.h"
#include "common/platform/system.h"

namespace {

std::mutex overrideMutex;
std::string overrideDir;

bool hasProgramDirShape(const std::string& dir) {
  return dir.size() >= 3 && dir.size() <= 260 && dir.front() == '/' && dir.back() == '/';
}

}  // namespace

void qevOverrideExeDirForTesting(const std::string& dir) {
  std::lock_guard lock(overrideMutex);
  overrideDir = dir.empty() ? std::string() : qevCollapseSeparators(dir + "/");
}

int qevGetExeDir(std::string& dir) {
  dir.clear();
  {
    std::lock_guard lock(overrideMutex);
    if (!overrideDir.empty()) {
      if (!hasProgramDirShape(overrideDir)) return 0;
      dir = overrideDir;
      return 1;
    }
  }
  std::string module;
  if (!sorrel::platform::executablePath(module)) {
    qevReportEvent(qevEventSourceName().c_str(), "函数 GetModuleFileName(NULL, szPathTemp, sizeof(szPathTemp)) 失败！", "");
    return 0;
  }
  if (module.size() < 3 || module.size() > 260) return 0;
  const std::size_t slash = module.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : module.substr(0, slash);
  folder = qevCollapseSeparators(folder + "/");
  if (!hasProgramDirShape(folder)) return 0;
  dir = folder;
  return 1;
}
