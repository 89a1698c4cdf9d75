#include "common/platform/move.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

namespace sorrel::platform {

bool renameNoReplace(const std::string& from, const std::string& to) {
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool sameDevice(const std::string& entry, const std::string& other) {
  struct stat entryInfo {};
  struct stat otherInfo {};
  return lstat(entry.c_str(), &entryInfo) == 0 && stat(other.c_str(), &otherInfo) == 0 &&
         entryInfo.st_dev == otherInfo.st_dev;
}

}  // namespace sorrel::platform
