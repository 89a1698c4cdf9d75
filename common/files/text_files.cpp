#include "common/files/text_files.h"

#include "common/files/long_path.h"
#include "common/platform/files.h"

namespace {

using sorrel::platform::LockedFile;
using sorrel::platform::LockRetry;

constexpr std::uint64_t kSmallestListedFile = 10;
constexpr std::uint64_t kLargestListedFile = 931135488;  // 888 MiB

// Splits "/dir/pattern" into the directory and the name pattern.
bool splitPattern(const std::string& pattern, std::string& directory, std::string& name) {
  const std::size_t slash = pattern.rfind('/');
  if (slash == std::string::npos) return false;
  directory = pattern.substr(0, slash + 1);
  name = pattern.substr(slash + 1);
  return !name.empty();
}

int readText(const std::string& path, std::string& text) {
  LockedFile file = LockedFile::openForReading(path, LockRetry{});
  std::uint64_t size = 0;
  if (!file.isOpen() || !file.size(size) || size == 0 || size > kMaxFileBytes) return 0;
  if (!file.readAll(kMaxFileBytes, text) || text.size() != size) {
    text.clear();  // a short read leaves nothing half-read behind
    return 0;
  }
  return 1;
}

int replaceFile(const std::string& path, const std::string& bytes) {
  LockedFile file = LockedFile::openForUpdate(path, LockRetry{});
  return file.isOpen() && file.replace(bytes) ? 1 : 0;
}

}  // namespace

int qevFindFiles(const std::string& pattern, std::vector<std::string>& names,
                 std::vector<std::string>& paths, NameCase nameCase) {
  if (pattern.size() < 3 || pattern.size() > 260 || pattern.front() != '/') return 0;
  names.clear();
  paths.clear();
  std::string directory;
  std::string namePattern;
  if (!splitPattern(pattern, directory, namePattern)) return 0;
  std::vector<sorrel::platform::DirectoryEntry> entries;
  sorrel::platform::listDirectory(directory, entries);  // what was read before an error counts
  for (const auto& entry : entries) {
    if (!entry.isRegularFile || entry.size < kSmallestListedFile ||
        entry.size > kLargestListedFile || !sorrel::platform::nameMatches(namePattern, entry.name, nameCase == NameCase::Ignored)) {
      continue;
    }
    names.push_back(entry.name);
    paths.push_back(directory + entry.name);
  }
  return names.empty() ? 0 : 1;
}

int qevReadFileText(const std::string& path, std::string& text) {
  text.clear();
  if (path.empty() || path.size() > 259) return 0;
  return readText(path, text);
}

int qevReadFileTextUnbounded(const std::string& path, std::string& text) {
  text.clear();
  if (path.empty()) return 0;
  return readText(path, text);
}

int qevWriteFileText(const std::string& path, const std::string& text) {
  if (path.empty()) return 0;
  return replaceFile(path, text.empty() ? std::string("\r\n") : text);
}

int qevPrependFileText(const std::string& path, const std::string& text) {
  if (path.empty()) return 0;
  LockedFile file = LockedFile::openForUpdate(path, LockRetry{});
  std::string old;
  if (!file.isOpen() || !file.readAll(kMaxFileBytes, old)) return 0;
  return file.replace(text + old) ? 1 : 0;
}

int qevWriteFileBytes(const std::string& path, const char* bytes, std::size_t count) {
  if (path.empty() || bytes == nullptr || count == 0) return 0;
  return replaceFile(path, std::string(bytes, count));
}
