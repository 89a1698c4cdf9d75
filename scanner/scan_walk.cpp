#include "scanner/scan_walk.h"

#include "common/platform/walk.h"
#include "common/text/text_codec.h"
#include "scanner/classify_entry.h"

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
  return sorrel::platform::walkTree(root, visit) ? 1 : 0;
}

int ClearHiddenSystem(const std::u16string& path) {
  if (!hasWalkShape(path, 2)) return 0;
  std::string ansiPath;
  if (qevWideToAnsi(path, ansiPath) != 1) return 0;
  return sorrel::platform::entryExistsLong(ansiPath) ? 1 : 0;
}
