#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Depth-first walk of a directory tree by directory descriptors.
namespace sorrel::platform {

// One entry of a listing. Symbolic links are never followed: a link is reported as a file.
struct WalkEntry {
  bool isDirectory = false;
  std::string_view name;
  // Full path of the entry: the root path, "/" and the names below it.
  const std::string* path = nullptr;
  // Size of the entry itself (a link's own size); 0 for directories.
  std::uint64_t size = 0;
};

// Called for every entry in listing order; a directory is reported before its contents.
// Answer true to walk into a directory (ignored for files).
using WalkVisitor = std::function<bool(const WalkEntry&)>;

// Called with the path of a directory below the root that could not be opened or listed, or
// could not be got back to after one of its subdirectories (the rest of the tree is left then).
using WalkSkipped = std::function<void(const std::string& path)>;

// Walks the tree below root (an absolute path, taken literally). Each directory is read whole
// before its subdirectories are entered, one directory descriptor is open at a time, and the
// walk is not recursive, so trees thousands of levels deep with paths longer than PATH_MAX work.
// A subdirectory that cannot be opened or listed is skipped and handed to skipped (when given).
// False when root itself cannot be opened or listed.
bool walkTree(const std::string& root, const WalkVisitor& visit, const WalkSkipped& skipped = {});

// True when an entry of exactly that name exists (links not followed). Works for paths longer
// than PATH_MAX by resolving the parent component by component.
bool entryExistsLong(const std::string& path);

}  // namespace sorrel::platform
