#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/platform/files.h"

// Directories of trees that others may change while we work on them (website and backup trees).
namespace sorrel::platform {

// An open directory reached without following any link: every component of its path is opened
// with O_NOFOLLOW, so a link planted anywhere on the way makes the open fail instead of leading
// elsewhere. Names are then looked up, moved and removed relative to the open directory, so a
// link planted after the open cannot redirect them either. Paths of any length work.
class DirectoryHandle {
 public:
  DirectoryHandle() = default;
  ~DirectoryHandle();
  DirectoryHandle(DirectoryHandle&& other) noexcept;
  DirectoryHandle& operator=(DirectoryHandle&& other) noexcept;
  DirectoryHandle(const DirectoryHandle&) = delete;
  DirectoryHandle& operator=(const DirectoryHandle&) = delete;

  // An absolute path ("/" first). Not valid when a component is missing, is not a directory or
  // is a link, or cannot be opened.
  static DirectoryHandle open(const std::string& path);

  bool valid() const { return fd_ >= 0; }
  // The file system that holds the directory (0 when not valid).
  std::uint64_t device() const;

  struct Entry {
    std::string name;
    EntryKind kind = EntryKind::Error;  // File (links and every other kind too) or Directory
    std::uint64_t device = 0;
  };
  // Every entry but "." and "..", in listing order. False when the directory cannot be read.
  bool list(std::vector<Entry>& entries) const;

  // One name in this directory, a link not followed (it is a File): File, Directory, NotFound
  // or Error.
  EntryStatus look(const std::string& name) const;

  enum class MoveResult { Moved, TargetExists, Failed };
  // Renames name here to toName in target, never replacing an existing entry (renameat2 with
  // RENAME_NOREPLACE): the move is atomic, the entry is whole at exactly one of the two places.
  // A link is moved as the link itself. Fails across file systems.
  MoveResult moveNoReplace(const std::string& name, const DirectoryHandle& target,
                           const std::string& toName) const;

  // Removes the subdirectory name when it is empty; a non-empty directory or anything else stays.
  bool removeEmptyDirectory(const std::string& name) const;

  enum class SubdirectoryState { Created, Existed, NotCreated, NotARealDirectory };
  // The subdirectory name, made (mode 0755) when missing, then opened without following a link.
  // Valid only when name is a real directory on this directory's file system: a link, a file or
  // a mount point in its place makes it NotARealDirectory; a failed creation NotCreated.
  DirectoryHandle openOrMakeSubdirectory(const std::string& name, SubdirectoryState& state) const;

 private:
  explicit DirectoryHandle(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace sorrel::platform
