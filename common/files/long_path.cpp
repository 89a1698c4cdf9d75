#include "common/files/long_path.h"

#include <vector>

#include "common/platform/files.h"
#include "common/platform/system.h"
#include "common/text/text_codec.h"

namespace {

using sorrel::platform::EntryKind;

// Directory levels below "/" a parent chain may have (887 with the root counted as a level).
constexpr std::size_t kMaxParentLevels = 886;
constexpr std::size_t kMaxLevelLength = 259;
constexpr std::size_t kMaxParentText = 65536;
// Callers read a whole file into size + 10 bytes; the largest file they take needs this much.
constexpr std::uint64_t kMaxReadCapacity = kMaxFileBytes + 10;

// The byte path of a long path: "/" first, within the length bounds, convertible.
bool toBytePath(const std::u16string& longPath, std::size_t minLength, std::size_t maxLength,
                std::string& path) {
  if (longPath.size() < minLength || longPath.size() > maxLength || longPath.front() != u'/') {
    return false;
  }
  return qevWideToAnsi(longPath, path) == 1;
}

std::vector<std::u16string> parentLevels(const std::u16string& longPath) {
  std::vector<std::u16string> levels;
  const std::size_t lastSlash = longPath.rfind(u'/');
  std::size_t start = 0;
  while (start < lastSlash) {
    std::size_t end = longPath.find(u'/', start);
    if (end == std::u16string::npos || end > lastSlash) end = lastSlash;
    if (end > start) levels.push_back(longPath.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}

}  // namespace

int qevGetPathKind(const std::u16string& longPath) {
  std::string path;
  if (!toBytePath(longPath, 2, kMaxLongPath, path)) return 0;
  switch (sorrel::platform::lookupEntry(path).kind) {
    case EntryKind::File: return 1;
    case EntryKind::Directory: return 2;
    case EntryKind::NotFound: return 3;
    case EntryKind::ParentNotFound: return 4;
    case EntryKind::Error: return 0;
  }
  return 0;
}

int qevGetPathInfo(const std::u16string& longPath, std::uint64_t& size) {
  size = 0;
  std::string path;
  if (!toBytePath(longPath, 2, kMaxLongPath, path)) return 0;
  const sorrel::platform::EntryStatus status = sorrel::platform::lookupEntry(path);
  if (status.kind == EntryKind::Directory) return 2;
  if (status.kind != EntryKind::File) return 0;
  size = status.size;
  return 1;
}

int qevCreateLongPathParent(const std::u16string& longPath) {
  if (longPath.size() < 3 || longPath.size() > kMaxParentText || longPath.front() != u'/') return 0;
  const std::vector<std::u16string> levels = parentLevels(longPath);
  if (levels.empty() || levels.size() > kMaxParentLevels) return 0;
  for (const std::u16string& level : levels) {
    if (level.size() > kMaxLevelLength) return 0;
  }
  std::u16string current;
  for (const std::u16string& level : levels) {
    current += u"/" + level;
    const int kind = qevGetPathKind(current);
    if (kind == 2) continue;
    if (kind == 0) return 0;
    std::string path;
    if (qevWideToAnsi(current, path) != 1 || !sorrel::platform::makeDirectoryIfMissing(path)) {
      return 0;
    }
    sorrel::platform::sleepMilliseconds(10);  // let the file system settle before the next level
  }
  return 1;
}

int qevReadWholeFile(const std::u16string& longPath, char* buffer, std::uint64_t capacity,
                     std::uint64_t& bytesRead, std::uint64_t& fileSize) {
  bytesRead = 0;
  fileSize = 0;
  std::string path;
  if (buffer == nullptr || capacity < 1 || capacity > kMaxReadCapacity) return 0;
  if (!toBytePath(longPath, 2, kMaxLongPath + 1, path)) return 0;
  return sorrel::platform::readWholeFile(path, buffer, capacity, bytesRead, fileSize) ? 1 : 0;
}

int qevWriteWholeFile(const std::u16string& longPath, const char* bytes, std::uint64_t count) {
  std::string path;
  if (bytes == nullptr || count < 1 || count > kMaxFileBytes) return 0;
  if (!toBytePath(longPath, 2, kMaxLongPath, path)) return 0;
  return sorrel::platform::writeWholeFile(path, bytes, count) ? 1 : 0;
}
