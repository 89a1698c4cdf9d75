#include "common/platform/files.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <thread>
#include <utility>

namespace sorrel::platform {

namespace {

// Owns one descriptor.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// A directory descriptor and the last component of a path, ready for the *at calls. A parent
// path shorter than PATH_MAX is opened in one call; a longer one piece by piece, each piece
// shorter than PATH_MAX, so the kernel resolves exactly what it would resolve in one go.
struct ParentAndLeaf {
  Descriptor directory;
  std::string leaf;
  int errorNumber = 0;
  bool ok() const { return directory.valid(); }
};

constexpr std::size_t kPieceLimit = PATH_MAX - 1;

Descriptor openDirectoryPiece(int base, const std::string& piece) {
  return Descriptor(openat(base, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// Moves current one piece down; on failure current is closed and errorNumber tells why.
bool descend(Descriptor& current, const std::string& piece, int& errorNumber) {
  Descriptor next = openDirectoryPiece(current.get(), piece);
  if (!next.valid()) {
    errorNumber = errno;
    current.reset();
    return false;
  }
  current = std::move(next);
  return true;
}

Descriptor openLongDirectory(const std::string& directory, int& errorNumber) {
  Descriptor current(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current.valid()) {
    errorNumber = errno;
    return current;
  }
  std::string piece;
  std::size_t at = 1;
  while (at < directory.size()) {
    std::size_t end = directory.find('/', at);
    if (end == std::string::npos) end = directory.size();
    const std::string component = directory.substr(at, end - at);
    at = end + 1;
    if (component.empty()) continue;
    if (!piece.empty() && piece.size() + 1 + component.size() > kPieceLimit) {
      if (!descend(current, piece, errorNumber)) return current;
      piece.clear();
    }
    piece += piece.empty() ? component : "/" + component;
  }
  if (!piece.empty()) descend(current, piece, errorNumber);
  return current;
}

ParentAndLeaf openParent(const std::string& path) {
  ParentAndLeaf result;
  if (path.empty() || path.front() != '/') {
    result.errorNumber = ENOENT;
    return result;
  }
  std::size_t last = path.find_last_not_of('/');
  if (last == std::string::npos) {  // the root itself
    result.directory.reset(open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    result.leaf = ".";
    if (!result.ok()) result.errorNumber = errno;
    return result;
  }
  const std::size_t slash = path.rfind('/', last);
  result.leaf = path.substr(slash + 1, last - slash);
  const std::string parent = path.substr(0, slash + 1);
  if (parent.size() < kPieceLimit) {
    result.directory = openDirectoryPiece(AT_FDCWD, parent);
    if (!result.ok()) result.errorNumber = errno;
  } else {
    result.directory = openLongDirectory(parent, result.errorNumber);
  }
  return result;
}

bool fitsOneCall(const std::string& path) { return path.size() < kPieceLimit; }

// Opens a path of any length; -1 with errno set on failure.
Descriptor openPath(const std::string& path, int flags, mode_t mode = 0644) {
  if (fitsOneCall(path)) return Descriptor(open(path.c_str(), flags | O_CLOEXEC, mode));
  ParentAndLeaf parent = openParent(path);
  if (!parent.ok()) {
    errno = parent.errorNumber;
    return Descriptor();
  }
  return Descriptor(openat(parent.directory.get(), parent.leaf.c_str(), flags | O_CLOEXEC, mode));
}

FileError errorOf(int errorNumber) {
  switch (errorNumber) {
    case ENOENT: return FileError::NotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return FileError::BadPath;
    case EMFILE:
    case ENFILE: return FileError::TooManyOpen;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return FileError::AccessDenied;
    default: return FileError::Other;
  }
}

void pause(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True while fd still is the file that the path names (it was not replaced meanwhile).
bool stillNamed(int fd, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  Descriptor current = openPath(path, O_PATH);
  return current.valid() && fstat(fd, &opened) == 0 && fstat(current.get(), &named) == 0 &&
         sameFile(opened, named);
}

bool readFully(int fd, char* buffer, std::uint64_t count, std::uint64_t& done) {
  done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd, buffer + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    done += static_cast<std::uint64_t>(got);
  }
  return true;
}

bool writeFully(int fd, const char* bytes, std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd, bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::uint64_t>(put);
  }
  return true;
}

// A temporary name beside the leaf that no other writer in any process picks.
std::string temporaryName(const std::string& leaf) {
  static std::atomic<unsigned> counter{0};
  return "." + leaf.substr(0, 120) + ".tmp-" + std::to_string(getpid()) + "-" +
         std::to_string(counter.fetch_add(1));
}

// Writes bytes to a new temporary file beside the leaf, flushes it and renames it over the leaf:
// readers see the old entry or the whole new file, never a part, and whatever had the name (a
// link too) is replaced, never written through. The new file gets mode and, where allowed, the
// owner of owner (when given).
bool writeAndRenameOver(const ParentAndLeaf& parent, const std::string& bytes, mode_t mode, const struct stat* owner) {
  std::string temporary;
  Descriptor out;
  // A name left behind by a crashed process of the same id is passed over.
  for (int attempt = 0; attempt < 100 && !out.valid(); ++attempt) {
    temporary = temporaryName(parent.leaf);
    out.reset(openat(parent.directory.get(), temporary.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid() && errno != EEXIST) return false;
  }
  if (!out.valid()) return false;
  if (owner != nullptr && fchown(out.get(), owner->st_uid, owner->st_gid) != 0) {
    // Only the owner changes: the file then belongs to this program's user.
  }
  bool ok = writeFully(out.get(), bytes.data(), bytes.size()) && fchmod(out.get(), mode) == 0 &&
            fsync(out.get()) == 0;
  ok = ::close(out.release()) == 0 && ok;
  ok = ok && renameat(parent.directory.get(), temporary.c_str(), parent.directory.get(),
                      parent.leaf.c_str()) == 0;
  if (!ok) {
    unlinkat(parent.directory.get(), temporary.c_str(), 0);
    return false;
  }
  // Make the rename itself durable; a failure here leaves the new file in place.
  Descriptor directory(openat(parent.directory.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.valid()) fsync(directory.get());
  return true;
}

}  // namespace

LockedFile::~LockedFile() { close(); }

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      error_(other.error_),
      sharingViolations_(other.sharingViolations_) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
    error_ = other.error_;
    sharingViolations_ = other.sharingViolations_;
  }
  return *this;
}

void LockedFile::close() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the flock
  fd_ = -1;
}

// Opens and locks, retrying while the lock is held; opens again when the file was replaced
// while this process waited, so that the lock is on the file that has the name.
void LockedFile::openLocked(int openFlags, int lockKind, const LockRetry& retry) {
  for (int attempt = 1; attempt <= retry.attempts; ++attempt) {
    Descriptor fd = openPath(path_, openFlags);
    if (!fd.valid()) {
      error_ = errorOf(errno);
      return;
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || S_ISDIR(info.st_mode)) {
      error_ = FileError::AccessDenied;
      return;
    }
    if (flock(fd.get(), lockKind | LOCK_NB) == 0) {
      if (stillNamed(fd.get(), path_)) {
        fd_ = fd.release();
        return;
      }
      continue;  // replaced while waiting: take the new file
    }
    if (errno != EWOULDBLOCK && errno != EINTR) {
      error_ = FileError::Other;
      return;
    }
    ++sharingViolations_;
    if (attempt < retry.attempts) pause(retry.pauseMilliseconds);
  }
  error_ = FileError::SharingViolation;
}

LockedFile LockedFile::openForReading(const std::string& path, const LockRetry& retry) {
  LockedFile file;
  file.path_ = path;
  file.openLocked(O_RDONLY, LOCK_SH, retry);
  return file;
}

LockedFile LockedFile::openForUpdate(const std::string& path, const LockRetry& retry) {
  LockedFile file;
  file.path_ = path;
  // Read access is all the lock and the read need: the new content goes to a new file, so a
  // read-only file can be replaced as well.
  file.openLocked(O_RDONLY | O_CREAT, LOCK_EX, retry);
  return file;
}

LockedFile LockedFile::openForAppend(const std::string& path, const LockRetry& retry) {
  LockedFile file;
  file.path_ = path;
  file.openLocked(O_WRONLY | O_CREAT | O_APPEND, LOCK_EX, retry);
  return file;
}

bool LockedFile::size(std::uint64_t& bytes) const {
  struct stat info {};
  if (fd_ < 0 || fstat(fd_, &info) != 0) return false;
  bytes = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool LockedFile::readAll(std::uint64_t maxBytes, std::string& bytes) const {
  bytes.clear();
  std::uint64_t length = 0;
  if (!size(length) || length > maxBytes) return false;
  bytes.resize(static_cast<std::size_t>(length));
  std::uint64_t done = 0;
  if (lseek(fd_, 0, SEEK_SET) != 0 || !readFully(fd_, bytes.data(), length, done)) {
    bytes.clear();
    return false;
  }
  bytes.resize(static_cast<std::size_t>(done));  // a file that shrank meanwhile
  return true;
}

bool LockedFile::truncate() const { return fd_ >= 0 && ftruncate(fd_, 0) == 0; }

bool LockedFile::append(const std::string& bytes) const {
  return fd_ >= 0 && writeFully(fd_, bytes.data(), bytes.size());
}

bool LockedFile::replace(const std::string& bytes) const {
  if (fd_ < 0) return false;
  ParentAndLeaf parent = openParent(path_);
  struct stat current {};
  if (!parent.ok() || fstat(fd_, &current) != 0) return false;
  return writeAndRenameOver(parent, bytes, current.st_mode & 07777, &current);
}

bool replaceWithNewFile(const std::string& path, const std::string& bytes) {
  ParentAndLeaf parent = openParent(path);
  return parent.ok() && parent.leaf != "." && writeAndRenameOver(parent, bytes, 0644, nullptr);
}

bool readFileUnlocked(const std::string& path, std::uint64_t maxBytes, std::string& bytes) {
  bytes.clear();
  Descriptor fd = openPath(path, O_RDONLY);
  struct stat info {};
  if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uint64_t>(info.st_size) > maxBytes) {
    return false;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::uint64_t done = 0;
  if (!readFully(fd.get(), bytes.data(), bytes.size(), done)) {
    bytes.clear();
    return false;
  }
  bytes.resize(static_cast<std::size_t>(done));
  return true;
}

namespace {

EntryStatus statusOf(const struct stat& info) {
  EntryStatus status;
  status.device = static_cast<std::uint64_t>(info.st_dev);
  if (S_ISDIR(info.st_mode)) {
    status.kind = EntryKind::Directory;
  } else {
    status.kind = EntryKind::File;
    status.size = static_cast<std::uint64_t>(info.st_size);
  }
  return status;
}

EntryKind missingKind(int errorNumber) {
  if (errorNumber == ENOENT) return EntryKind::NotFound;
  if (errorNumber == ENOTDIR) return EntryKind::ParentNotFound;
  return EntryKind::Error;
}

// The common case in one call; the parent is only looked at when the entry is missing.
EntryStatus lookupShortEntry(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) return statusOf(info);
  EntryStatus status;
  status.kind = missingKind(errno);
  if (status.kind != EntryKind::NotFound) return status;
  const std::size_t slash = path.rfind('/');
  const std::string parent = path.substr(0, slash == 0 ? 1 : slash);
  if (stat(parent.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    status.kind = EntryKind::ParentNotFound;
  }
  return status;
}

}  // namespace

EntryStatus lookupEntry(const std::string& path) {
  const std::size_t last = path.find_last_not_of('/');
  if (!path.empty() && path.front() == '/' && last != std::string::npos && fitsOneCall(path)) {
    return lookupShortEntry(path.substr(0, last + 1));
  }
  ParentAndLeaf parent = openParent(path);
  EntryStatus status;
  if (!parent.ok()) {
    const bool missing = parent.errorNumber == ENOENT || parent.errorNumber == ENOTDIR;
    status.kind = missing ? EntryKind::ParentNotFound : EntryKind::Error;
    return status;
  }
  struct stat info {};
  if (fstatat(parent.directory.get(), parent.leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    status.kind = missingKind(errno);
    return status;
  }
  return statusOf(info);
}

bool makeDirectoryIfMissing(const std::string& path) {
  ParentAndLeaf parent = openParent(path);
  if (!parent.ok()) return false;
  if (mkdirat(parent.directory.get(), parent.leaf.c_str(), 0755) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat info {};
  return fstatat(parent.directory.get(), parent.leaf.c_str(), &info, 0) == 0 &&
         S_ISDIR(info.st_mode);
}

bool readWholeFile(const std::string& path, char* buffer, std::uint64_t capacity,
                   std::uint64_t& bytesRead, std::uint64_t& fileSize) {
  bytesRead = 0;
  fileSize = 0;
  Descriptor fd = openPath(path, O_RDONLY | O_NOFOLLOW);
  struct stat info {};
  if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (flock(fd.get(), LOCK_SH | LOCK_NB) != 0) return false;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size == 0 || size >= capacity) return false;
  std::uint64_t done = 0;
  if (!readFully(fd.get(), buffer, capacity, done) || done == 0 || done >= capacity) return false;
  bytesRead = done;
  fileSize = size;
  return true;
}

bool readFileChunks(const std::string& path, std::uint64_t maxBytes,
                    const std::function<void(const char* bytes, std::size_t count)>& consume) {
  Descriptor fd = openPath(path, O_RDONLY | O_NOFOLLOW);
  struct stat info {};
  if (!fd.valid() || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (flock(fd.get(), LOCK_SH | LOCK_NB) != 0) return false;
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size == 0 || size > maxBytes) return false;
  posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  std::vector<char> buffer(std::size_t{1} << 20);
  std::uint64_t total = 0;
  for (;;) {
    std::uint64_t got = 0;
    if (!readFully(fd.get(), buffer.data(), buffer.size(), got)) return false;
    if (got == 0) break;
    total += got;
    // A file that grows while it is read is not the file that was opened.
    if (total > size) return false;
    consume(buffer.data(), static_cast<std::size_t>(got));
    if (got < buffer.size()) break;
  }
  return total == size;
}

bool writeWholeFile(const std::string& path, const char* bytes, std::uint64_t count) {
  Descriptor fd = openPath(path, O_WRONLY | O_CREAT | O_NOFOLLOW, 0644);
  if (!fd.valid() || flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
  if (ftruncate(fd.get(), 0) != 0 || !writeFully(fd.get(), bytes, count)) return false;
  return ::close(fd.release()) == 0;
}

bool moveNoReplace(const std::string& from, const std::string& to) {
  ParentAndLeaf source = openParent(from);
  ParentAndLeaf target = openParent(to);
  return source.ok() && target.ok() &&
         renameat2(source.directory.get(), source.leaf.c_str(), target.directory.get(),
                   target.leaf.c_str(), RENAME_NOREPLACE) == 0;
}

bool listDirectory(const std::string& directory, std::vector<DirectoryEntry>& entries) {
  entries.clear();
  Descriptor fd = openPath(directory, O_RDONLY | O_DIRECTORY);
  if (!fd.valid()) return false;
  DIR* stream = fdopendir(fd.get());
  if (stream == nullptr) return false;
  const int dirFd = fd.release();  // owned by the stream from here
  errno = 0;
  while (const dirent* entry = readdir(stream)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    DirectoryEntry item;
    item.name = name;
    struct stat info {};
    if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
      item.isRegularFile = S_ISREG(info.st_mode);
      item.size = static_cast<std::uint64_t>(info.st_size);
    }
    entries.push_back(std::move(item));
    errno = 0;
  }
  const bool complete = errno == 0;
  closedir(stream);
  return complete;
}

bool removeFile(const std::string& path) {
  ParentAndLeaf parent = openParent(path);
  return parent.ok() && unlinkat(parent.directory.get(), parent.leaf.c_str(), 0) == 0;
}

bool existsWithoutReadWriteAccess(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return false;
  return access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}

bool nameMatches(const std::string& pattern, const std::string& name, bool ignoreCase) {
  return fnmatch(pattern.c_str(), name.c_str(), ignoreCase ? FNM_CASEFOLD : 0) == 0;
}

std::string localTimestamp() {
  const time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  char text[32] = {};
  strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace sorrel::platform
