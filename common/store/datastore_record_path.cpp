#include <algorithm>
#include <vector>

#include "common/store/datastore.h"
#include "common/text/base64.h"
#include "common/text/text_codec.h"

namespace {

constexpr std::size_t kMaxRecordIdChars = 1023;
constexpr std::size_t kMaxDecodedBytes = 102399;
constexpr std::size_t kMaxPathChars = 65536;

}  // namespace

int qevGetRecordPath(const std::string& recordId, std::u16string& path) {
  path.clear();
  if (recordId.empty() || recordId.size() > kMaxRecordIdChars) return 0;
  std::string stored;
  if (qevReadLatestValue("fileinfo", "filenameid", recordId, "id", "filepath", stored) != 1) return 0;
  // The decoder may write up to a whole group past the counted bytes: keep room beyond them.
  std::vector<unsigned char> bytes(qevBase64DecodedSize(stored.c_str()) + 1024);
  const std::size_t count = qevBase64Decode(stored.c_str(), bytes.data());
  if (count < 1 || count > kMaxDecodedBytes) return 0;
  path = qevFromUtf16LeBytes(bytes.data(), std::min(count / 2, kMaxPathChars) * 2);
  return 1;
}
