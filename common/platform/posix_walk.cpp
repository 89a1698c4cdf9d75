#include "common/platform/walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace sorrel::platform {

namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

struct ListedEntry {
  std::string name;
  bool isDirectory = false;
  std::uint64_t size = 0;
};

// One directory on the way down: its listing, the next entry to visit, and what is needed to
// get back to it after a subdirectory.
struct Frame {
  std::vector<ListedEntry> entries;
  std::size_t next = 0;
  std::size_t pathLength = 0;
  dev_t device = 0;
  ino_t inode = 0;
};

// Closes a descriptor when it goes out of scope unless released.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

int openDirectoryAt(int parent, const char* name, bool followLink) {
  int fd;
  do {
    fd = openat(parent, name, kDirectoryFlags | (followLink ? 0 : O_NOFOLLOW));
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Opens an absolute directory path of any length: short paths in one call, longer ones one
// component at a time (links along the way are followed, as the kernel would).
int openDirectoryLong(const std::string& path) {
  if (path.empty() || path[0] != '/') return -1;
  if (path.size() < PATH_MAX) return openDirectoryAt(AT_FDCWD, path.c_str(), true);
  Descriptor current(openDirectoryAt(AT_FDCWD, "/", true));
  std::size_t start = 1;
  while (current.valid() && start < path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      const std::string component = path.substr(start, end - start);
      current.reset(openDirectoryAt(current.get(), component.c_str(), true));
    }
    start = end + 1;
  }
  return current.release();
}

bool identify(int fd, dev_t& device, ino_t& inode) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  device = info.st_dev;
  inode = info.st_ino;
  return true;
}

// The kind and size of one listed name. A link is a file of its own size; a name that vanished
// between the listing and this look is still reported, as a file of size 0.
void describe(int directory, const dirent& item, ListedEntry& entry) {
  if (item.d_type == DT_DIR) {
    entry.isDirectory = true;
    return;
  }
  struct stat info {};
  if (fstatat(directory, item.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;
  entry.isDirectory = S_ISDIR(info.st_mode);
  if (!entry.isDirectory && info.st_size > 0) entry.size = static_cast<std::uint64_t>(info.st_size);
}

// Reads the whole listing of an open directory in the order the file system returns it.
bool listDirectory(int directory, std::vector<ListedEntry>& entries) {
  entries.clear();
  const int listingFd = fcntl(directory, F_DUPFD_CLOEXEC, 0);
  if (listingFd < 0) return false;
  DIR* stream = fdopendir(listingFd);
  if (stream == nullptr) {
    close(listingFd);
    return false;
  }
  bool ok = true;
  for (;;) {
    errno = 0;
    const dirent* item = readdir(stream);
    if (item == nullptr) {
      ok = errno == 0;
      break;
    }
    const std::string_view name(item->d_name);
    if (name.empty() || name == "." || name == "..") continue;
    ListedEntry entry;
    entry.name.assign(name);
    describe(directory, *item, entry);
    entries.push_back(std::move(entry));
  }
  closedir(stream);
  return ok;
}

// Appends "/" + name to a directory path (no second "/" after a path that ends with one).
void appendName(std::string& path, std::string_view name) {
  if (path.empty() || path.back() != '/') path += '/';
  path.append(name);
}

// Reopens a directory by its path below the root, one component at a time without following
// links; used when ".." no longer leads back to the directory the walk came from.
int reopenBelowRoot(const std::string& root, const std::string& path) {
  Descriptor current(openDirectoryLong(root));
  std::size_t start = root.size();
  while (current.valid() && start < path.size()) {
    while (start < path.size() && path[start] == '/') ++start;
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      const std::string component = path.substr(start, end - start);
      current.reset(openDirectoryAt(current.get(), component.c_str(), false));
    }
    start = end;
  }
  return current.release();
}

class TreeWalk {
 public:
  TreeWalk(const std::string& root, const WalkVisitor& visit, const WalkSkipped& skipped)
      : root_(root), visit_(visit), skipped_(skipped) {}

  bool run() {
    current_.reset(openDirectoryLong(root_));
    if (!current_.valid()) return false;
    Frame top;
    if (!listDirectory(current_.get(), top.entries) ||
        !identify(current_.get(), top.device, top.inode)) {
      return false;
    }
    path_ = root_;
    top.pathLength = path_.size();
    stack_.push_back(std::move(top));
    while (!stack_.empty()) step();
    return true;
  }

 private:
  void step() {
    Frame& frame = stack_.back();
    if (frame.next == frame.entries.size()) {
      leaveDirectory();
      return;
    }
    const ListedEntry& entry = frame.entries[frame.next++];
    const std::size_t parentLength = frame.pathLength;
    path_.resize(parentLength);
    appendName(path_, entry.name);
    WalkEntry reported;
    reported.isDirectory = entry.isDirectory;
    reported.name = entry.name;
    reported.path = &path_;
    reported.size = entry.isDirectory ? 0 : entry.size;
    const bool descend = visit_(reported);
    if (entry.isDirectory && descend) enterDirectory(entry.name);
  }

  // Opens and lists a subdirectory of the current one; it becomes the current directory.
  void enterDirectory(const std::string& name) {
    Descriptor child(openDirectoryAt(current_.get(), name.c_str(), false));
    Frame frame;
    if (!child.valid() || !listDirectory(child.get(), frame.entries) ||
        !identify(child.get(), frame.device, frame.inode)) {
      reportSkipped();
      return;
    }
    frame.pathLength = path_.size();
    current_.reset(child.release());
    stack_.push_back(std::move(frame));
  }

  // Back to the parent: through "..", checked against the parent's identity, else by its path.
  void leaveDirectory() {
    stack_.pop_back();
    if (stack_.empty()) return;
    const Frame& parent = stack_.back();
    path_.resize(parent.pathLength);
    Descriptor up(openDirectoryAt(current_.get(), "..", false));
    dev_t device = 0;
    ino_t inode = 0;
    if (!up.valid() || !identify(up.get(), device, inode) || device != parent.device ||
        inode != parent.inode) {
      up.reset(reopenBelowRoot(root_, path_));
      if (!up.valid() || !identify(up.get(), device, inode) || device != parent.device ||
          inode != parent.inode) {
        // The tree was moved under the walk: what is left of it cannot be reached safely.
        reportSkipped();
        stack_.clear();
        return;
      }
    }
    current_.reset(up.release());
  }

  void reportSkipped() const {
    if (skipped_) skipped_(path_);
  }

  const std::string root_;
  const WalkVisitor& visit_;
  const WalkSkipped& skipped_;
  Descriptor current_;
  std::string path_;
  std::vector<Frame> stack_;
};

}  // namespace

bool walkTree(const std::string& root, const WalkVisitor& visit, const WalkSkipped& skipped) {
  if (root.empty() || root[0] != '/') return false;
  TreeWalk walk(root, visit, skipped);
  return walk.run();
}

bool entryExistsLong(const std::string& path) {
  if (path.empty() || path[0] != '/') return false;
  struct stat info {};
  if (path.size() < PATH_MAX) return fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
  const std::size_t slash = path.find_last_of('/');
  const std::string name = path.substr(slash + 1);
  Descriptor parent(openDirectoryLong(slash == 0 ? std::string("/") : path.substr(0, slash)));
  if (!parent.valid()) return false;
  if (name.empty()) return true;
  return fstatat(parent.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace sorrel::platform
