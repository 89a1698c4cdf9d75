#include "scanner/scan_walk.h"

#include "common/platform/system.h"
#include "common/platform/walk.h"
#include "common/text/text_codec.h"
#include "scanner/classify_entry.h"
#include "scanner/console_texts.h"
#include "scanner/failure_report.h"

namespace {

bool hasWalkShape(const std::u16string& path, std::size_t minimumLength) {
  return path.size() >= minimumLength && path.size() <= kMaxWalkPath && path[0] == u'/';
}

// Length in UTF-16 characters of a path given in bytes; the byte count is an upper bound, so
// the exact count is needed only for long paths.
std::size_t wideLength(const std::string& ansiPath) {
  if (ansiPath.size() <= kMaxWalkPath) return ansiPath.size();
  std::u16string wide;
  qevAnsiToWide(ansiPath, wide);
  return wide.empty() ? ansiPath.size() : wide.size();
}

}  // namespace

int ScanDirectory(ScanSession& session, const std::u16string& path) {
  if (!hasWalkShape(path, 1)) return 0;
  std::string root;
  if (qevWideToAnsi(path, root) != 1) return 0;
  // Recorded paths then name the entries themselves, the way the cleaning pass reaches them
  // without following links. Resolved once per walk; nothing below is followed.
  std::string resolved;
  if (sorrel::platform::resolvedPath(root, resolved)) root = resolved;
  EntryDescription entry;
  const auto visit = [&](const sorrel::platform::WalkEntry& listed) {
    entry.kind = listed.isDirectory ? EntryDescription::kDirectory : EntryDescription::kFile;
    entry.ansiName.assign(listed.name);
    if (qevAnsiToWide(entry.ansiName, entry.name) != 1) entry.name.clear();
    entry.ansiPath = *listed.path;
    entry.size = listed.size;
    // The listing has just looked at the entry itself, which is all that clearing the hidden and
    // system attributes amounts to here; a second look per entry would only slow the walk.
    ClassifyEntry(session, entry);
    // A directory whose path is longer than the walk accepts is classified but not entered.
    return listed.isDirectory && wideLength(entry.ansiPath) <= kMaxWalkPath;
  };
  const auto skipped = [&](const std::string& directory) {
    ReportNotWalked(session, directory, scanner_text::kDirectoryUnreadable);
  };
  return sorrel::platform::walkTree(root, visit, skipped) ? 1 : 0;
}

const char* WhyNotWalked(const std::u16string& path) {
  std::string root;
  if (!hasWalkShape(path, 1) || qevWideToAnsi(path, root) != 1) return scanner_text::kRootRelative;
  switch (sorrel::platform::pathState(root)) {
    case sorrel::platform::PathState::Missing: return scanner_text::kRootMissing;
    case sorrel::platform::PathState::NotDirectory: return scanner_text::kRootNotDirectory;
    case sorrel::platform::PathState::Inaccessible: return scanner_text::kRootInaccessible;
    case sorrel::platform::PathState::Directory: break;
  }
  return scanner_text::kDirectoryUnreadable;
}

void ReportNotWalked(ScanSession& session, const std::string& path, const char* reason) {
  const std::string line = std::string(scanner_text::kNotWalked) + path + "（" + reason + "）";
  session.console.print(line);
  WriteScannerRunLog(WithoutLeadingLineBreak(line.c_str()));
  session.totals.countNotWalked();
}

int ClearHiddenSystem(const std::u16string& path) {
  if (!hasWalkShape(path, 2)) return 0;
  std::string ansiPath;
  if (qevWideToAnsi(path, ansiPath) != 1) return 0;
  return sorrel::platform::entryExistsLong(ansiPath) ? 1 : 0;
}
