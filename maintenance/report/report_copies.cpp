#include "maintenance/report/report_copies.h"

#include <vector>

#include "common/files/paths.h"
#include "common/platform/file_age.h"
#include "common/platform/files.h"

namespace {
constexpr const char* kCopyPattern = "file*.dat";
}

std::string qevReportDirectoryOf(const std::string& programDir) {
  return qevCollapseSeparators(programDir + "/" + kReportDirectoryName);
}

std::string qevReportCopyPath(const std::string& reportDir, const std::string& checkValue) {
  return qevCollapseSeparators(reportDir + "/file" + checkValue + ".dat");
}

void qevRemoveOldReportCopies(const std::string& reportDir) {
  namespace platform = sorrel::platform;
  std::vector<platform::DirectoryEntry> entries;
  if (!platform::listDirectory(reportDir, entries)) return;
  for (const platform::DirectoryEntry& entry : entries) {
    if (!entry.isRegularFile || !platform::nameMatches(kCopyPattern, entry.name)) continue;
    const std::string path = reportDir + "/" + entry.name;
    std::int64_t days = 0;
    if (platform::fileAgeInDays(path, days) && days >= kReportCopyMaxAgeDays) platform::removeFile(path);
  }
}
