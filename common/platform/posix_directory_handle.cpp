#include "common/platform/directory_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace sorrel::platform {

namespace {

// O_PATH: the directory is only a place to resolve names in, no read permission needed; links
// are refused at every level.
constexpr int kComponentFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// One name inside a directory: not empty, no "/", not "." or "..".
bool isPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\0') == std::string::npos;
}

int openComponent(int parent, const std::string& name) {
  int fd;
  do {
    fd = openat(parent, name.c_str(), kComponentFlags);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

EntryStatus statusOf(const struct stat& info) {
  EntryStatus status;
  status.kind = S_ISDIR(info.st_mode) ? EntryKind::Directory : EntryKind::File;
  status.size = status.kind == EntryKind::File && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  status.device = static_cast<std::uint64_t>(info.st_dev);
  return status;
}

}  // namespace

DirectoryHandle::~DirectoryHandle() {
  if (fd_ >= 0) ::close(fd_);
}

DirectoryHandle::DirectoryHandle(DirectoryHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DirectoryHandle& DirectoryHandle::operator=(DirectoryHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

DirectoryHandle DirectoryHandle::open(const std::string& path) {
  if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos) return {};
  DirectoryHandle current(::open("/", kComponentFlags));
  std::size_t start = 1;
  while (current.valid() && start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    if (!isPlainName(component)) return {};
    current = DirectoryHandle(openComponent(current.fd_, component));
  }
  return current;
}

std::uint64_t DirectoryHandle::device() const {
  struct stat info {};
  if (!valid() || fstat(fd_, &info) != 0) return 0;
  return static_cast<std::uint64_t>(info.st_dev);
}

bool DirectoryHandle::list(std::vector<Entry>& entries) const {
  entries.clear();
  if (!valid()) return false;
  const int listingFd = openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listingFd < 0) return false;
  DIR* stream = fdopendir(listingFd);
  if (stream == nullptr) {
    ::close(listingFd);
    return false;
  }
  bool complete = true;
  for (;;) {
    errno = 0;
    const dirent* item = readdir(stream);
    if (item == nullptr) {
      complete = errno == 0;
      break;
    }
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    Entry entry;
    entry.name = name;
    if (fstatat(listingFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      const EntryStatus status = statusOf(info);
      entry.kind = status.kind;
      entry.device = status.device;
    } else if (errno == ENOENT) {
      continue;  // gone since the listing was read
    }
    entries.push_back(std::move(entry));
  }
  closedir(stream);
  return complete;
}

EntryStatus DirectoryHandle::look(const std::string& name) const {
  EntryStatus status;
  if (!valid() || !isPlainName(name)) return status;
  struct stat info {};
  if (fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) return statusOf(info);
  if (errno == ENOENT) status.kind = EntryKind::NotFound;
  return status;
}

DirectoryHandle::MoveResult DirectoryHandle::moveNoReplace(const std::string& name, const DirectoryHandle& target,
                                                           const std::string& toName) const {
  if (!valid() || !target.valid() || !isPlainName(name) || !isPlainName(toName)) return MoveResult::Failed;
  if (renameat2(fd_, name.c_str(), target.fd_, toName.c_str(), RENAME_NOREPLACE) == 0) return MoveResult::Moved;
  return errno == EEXIST ? MoveResult::TargetExists : MoveResult::Failed;
}

DirectoryHandle DirectoryHandle::openOrMakeSubdirectory(const std::string& name, SubdirectoryState& state) const {
  state = SubdirectoryState::NotCreated;
  if (!valid() || !isPlainName(name)) return {};
  state = SubdirectoryState::Created;
  if (mkdirat(fd_, name.c_str(), 0755) != 0) {
    if (errno != EEXIST) {
      state = SubdirectoryState::NotCreated;
      return {};
    }
    state = SubdirectoryState::Existed;
  }
  // Whatever holds the name now is opened as it is: a link put in place after mkdirat fails here.
  DirectoryHandle subdirectory(openComponent(fd_, name));
  if (!subdirectory.valid() || subdirectory.device() != device()) {
    state = SubdirectoryState::NotARealDirectory;
    return {};
  }
  return subdirectory;
}

bool DirectoryHandle::removeEmptyDirectory(const std::string& name) const {
  return valid() && isPlainName(name) && unlinkat(fd_, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace sorrel::platform
