#include "common/files/long_path_move.h"

#include "common/files/long_path.h"
#include "common/platform/files.h"
#include "common/text/text_codec.h"

namespace {

bool toBytes(const std::u16string& longPath, std::string& path) {
  if (longPath.size() < 2 || longPath.size() > kMaxLongPath || longPath.front() != u'/') return false;
  return qevWideToAnsi(longPath, path) == 1;
}

}  // namespace

int qevMoveNoReplace(const std::u16string& fromLongPath, const std::u16string& toLongPath) {
  std::string from;
  std::string to;
  if (!toBytes(fromLongPath, from) || !toBytes(toLongPath, to)) return 0;
  return sorrel::platform::moveNoReplace(from, to) ? 1 : 0;
}

