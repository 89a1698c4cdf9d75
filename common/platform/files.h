#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// File-system services by byte path. Absolute paths of any length work: a path longer than
// PATH_MAX is opened component by component relative to directory descriptors.
namespace sorrel::platform {

// Why an open failed, in the terms callers report.
enum class FileError { None, NotFound, BadPath, TooManyOpen, AccessDenied, SharingViolation, Other };

// The lock of a shared file is held by another process: retried this often, this far apart.
struct LockRetry {
  int attempts = 31;
  int pauseMilliseconds = 100;
};

// An open file holding an flock. Readers hold a shared lock, writers an exclusive one; the lock
// goes with the object. A file that was replaced while waiting for its lock is opened again, so
// the lock always covers the file that currently has the name.
class LockedFile {
 public:
  LockedFile() = default;
  ~LockedFile();
  LockedFile(LockedFile&& other) noexcept;
  LockedFile& operator=(LockedFile&& other) noexcept;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Existing file, shared lock.
  static LockedFile openForReading(const std::string& path, const LockRetry& retry);
  // Existing or new file (mode 0644), exclusive lock, for a read-modify-write with replace().
  static LockedFile openForUpdate(const std::string& path, const LockRetry& retry);
  // Existing or new file, exclusive lock, every write appended at the end.
  static LockedFile openForAppend(const std::string& path, const LockRetry& retry);

  bool isOpen() const { return fd_ >= 0; }
  FileError error() const { return error_; }
  // Sharing violations met before the open succeeded or gave up.
  int sharingViolations() const { return sharingViolations_; }

  bool size(std::uint64_t& bytes) const;
  // Reads the whole file from its start; false when it is larger than maxBytes or a read fails.
  bool readAll(std::uint64_t maxBytes, std::string& bytes) const;
  bool truncate() const;
  // Writes all bytes with as few writes as the kernel allows (one for a log line).
  bool append(const std::string& bytes) const;
  // Writes bytes to a temporary file beside this one, flushes it to disk and renames it over
  // the name: readers see the old file or the new one, never a part. The lock stays held
  // until the object goes away; waiting writers then find the new file.
  bool replace(const std::string& bytes) const;

 private:
  void openLocked(int openFlags, int lockKind, const LockRetry& retry);
  void close();
  int fd_ = -1;
  std::string path_;
  FileError error_ = FileError::None;
  int sharingViolations_ = 0;
};

// Reads a file whole without a lock (files replaced atomically need none). False when it is
// missing, not a regular file, larger than maxBytes or unreadable; bytes emptied then.
bool readFileUnlocked(const std::string& path, std::uint64_t maxBytes, std::string& bytes);

// The kind of an entry looked up by name; a final link is not followed and counts as a file.
enum class EntryKind { File, Directory, NotFound, ParentNotFound, Error };
struct EntryStatus {
  EntryKind kind = EntryKind::Error;
  std::uint64_t size = 0;  // of a file; 0 for a directory
  std::uint64_t device = 0;  // of the file system that holds the entry
};
EntryStatus lookupEntry(const std::string& path);

// True when the directory was created or already exists as a directory (a link to one counts):
// two processes creating the same chain at once both succeed.
bool makeDirectoryIfMissing(const std::string& path);

// Whole-file read: the file (a final link is not followed) must be non-empty and smaller than
// capacity; reads up to capacity bytes into buffer. Holds a shared lock, not retried.
bool readWholeFile(const std::string& path, char* buffer, std::uint64_t capacity,
                   std::uint64_t& bytesRead, std::uint64_t& fileSize);

// The same file, read from start to end through one buffer of 1 MiB and handed to consume chunk
// by chunk: a regular file (a final link is not followed) of 1..maxBytes bytes that delivers
// exactly the size it had when opened. Holds a shared lock, not retried.
bool readFileChunks(const std::string& path, std::uint64_t maxBytes,
                    const std::function<void(const char* bytes, std::size_t count)>& consume);

// Creates or truncates the file (a final link is not followed) and writes all bytes under an
// exclusive lock, not retried.
bool writeWholeFile(const std::string& path, const char* bytes, std::uint64_t count);

// Puts a new file with bytes (mode 0644) under path without ever opening what has the name now:
// written under a temporary name beside it, flushed and renamed over it, so the name holds the
// old entry or the whole new file, and a link there is replaced, never written through. No
// lock: for files with one writer. True when stored.
bool replaceWithNewFile(const std::string& path, const std::string& bytes);

// Renames an entry without ever replacing an existing target (renameat2 RENAME_NOREPLACE).
// True when moved.
bool moveNoReplace(const std::string& from, const std::string& to);

// Deletes a file (a link itself, never what it points to). True when it is gone.
bool removeFile(const std::string& path);

// True when the entry exists but this process may not read and write it (by its real user and
// groups): the caller can name the store and what to do instead of failing on it later.
bool existsWithoutReadWriteAccess(const std::string& path);

// Entries of a directory in listing order, "." and ".." left out. False when it cannot be read.
struct DirectoryEntry {
  std::string name;
  bool isRegularFile = false;  // links are not followed
  std::uint64_t size = 0;
};
bool listDirectory(const std::string& directory, std::vector<DirectoryEntry>& entries);

// Shell-style match of one name against a pattern of *, ? and [...] (no special leading dot);
// with ignoreCase, letters match without regard to case, as Windows matches names.
bool nameMatches(const std::string& pattern, const std::string& name, bool ignoreCase = false);

// Local time as "%Y-%m-%d %H:%M:%S".
std::string localTimestamp();

}  // namespace sorrel::platform
