#include "maintenance/restore/backup_location.h"

#include <vector>

#include "common/files/long_path.h"
#include "common/platform/directory_handle.h"
#include "common/platform/volume.h"
#include "maintenance/cleaning/backup_directory.h"

namespace {

using sorrel::platform::DirectoryHandle;

// The components of an absolute path; false for "." or "..", which would make the shape check
// disagree with what the kernel reaches.
bool splitComponents(const std::string& path, std::vector<std::string>& components) {
  components.clear();
  std::size_t start = 1;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    if (component == "." || component == "..") return false;
    components.push_back(component);
  }
  return true;
}

std::string joined(const std::vector<std::string>& components, std::size_t count) {
  std::string path;
  for (std::size_t i = 0; i < count; ++i) path += "/" + components[i];
  return path.empty() ? "/" : path;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits where the pattern has '9', the same character elsewhere.
bool hasShape(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (pattern[i] == '9' ? !isDigit(text[i]) : text[i] != pattern[i]) return false;
  }
  return true;
}

// Number of components of a mount point path ("/" has none).
std::size_t depthOf(const std::string& mountPoint) {
  std::vector<std::string> components;
  splitComponents(mountPoint, components);
  return components.size();
}

}  // namespace

BackupLocationCheck qevLocateBackupDirectory(const std::string& path, BackupLocation& location) {
  location = {};
  if (path.empty() || path.front() != '/' || path.size() > kMaxLongPath || path.find('\0') != std::string::npos) {
    return BackupLocationCheck::NotABackupDirectory;
  }
  std::vector<std::string> components;
  if (!splitComponents(path, components) || components.size() < 3) return BackupLocationCheck::NotABackupDirectory;
  const std::string directory = joined(components, components.size());

  sorrel::platform::MountPoint volume;
  if (!sorrel::platform::findVolume(sorrel::platform::readMountTable(), directory, volume)) {
    return BackupLocationCheck::NotABackupDirectory;
  }
  const std::size_t volumeDepth = depthOf(volume.path);
  if (components.size() != volumeDepth + 3 || components[volumeDepth] != kBackupRootName ||
      !hasShape(components[volumeDepth + 1], "9999-99-99") || !hasShape(components[volumeDepth + 2], "99-99-99")) {
    return BackupLocationCheck::NotABackupDirectory;
  }

  const DirectoryHandle root = DirectoryHandle::open(volume.path);
  if (!root.valid()) return BackupLocationCheck::NotABackupDirectory;
  const std::uint64_t device = root.device();
  for (std::size_t level = volumeDepth; level < components.size(); ++level) {
    const DirectoryHandle parent = DirectoryHandle::open(joined(components, level));
    const sorrel::platform::EntryStatus status = parent.look(components[level]);
    if (status.kind == sorrel::platform::EntryKind::NotFound) return BackupLocationCheck::Missing;
    if (status.kind != sorrel::platform::EntryKind::Directory || status.device != device) {
      return BackupLocationCheck::NotABackupDirectory;
    }
  }
  location.directory = directory;
  location.volumeRoot = volume.path;
  location.date = components[volumeDepth + 1];
  location.time = components[volumeDepth + 2];
  location.device = device;
  return BackupLocationCheck::Usable;
}
