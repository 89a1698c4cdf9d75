#include "common/platform/file_age.h"

#include <sys/stat.h>
#include <time.h>

namespace sorrel::platform {

bool fileAgeInDays(const std::string& path, std::int64_t& days) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  constexpr std::int64_t kSecondsPerDay = 86400;
  const std::int64_t seconds = static_cast<std::int64_t>(time(nullptr)) - static_cast<std::int64_t>(info.st_mtime);
  // Rounded towards minus infinity, so a file written a moment from now is -1 days old, not 0.
  days = seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds + kSecondsPerDay - 1) / kSecondsPerDay);
  return true;
}

}  // namespace sorrel::platform
