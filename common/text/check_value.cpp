#include "common/text/check_value.h"

#include "common/files/long_path.h"
#include "common/platform/system.h"
#include "common/text/md5_hex.h"

namespace {

bool isCheckName(const std::string& name) { return !name.empty() && name.size() <= 259; }

}  // namespace

int qevCheckValueOfDigest(const std::string& firstDigest, const std::string& name, std::string& value) {
  if (firstDigest.size() != 32 || !isCheckName(name)) return 0;
  const std::string salted = firstDigest + kCheckSalt + name;
  const std::string second = qevMd5Hex(salted.data(), salted.size());
  if (second.size() != 32) return 0;
  value = second;
  return 1;
}

int qevTextCheckValue(const std::string& text, const std::string& name, std::string& value) {
  if (text.empty() || text.size() > kMaxFileBytes || !isCheckName(name)) return 0;
  return qevCheckValueOfDigest(qevMd5Hex(text.data(), text.size()), name, value);
}

int qevFileCheckValue(const std::string& path, const std::string& name, std::string& value) {
  if (!isCheckName(name)) return 0;
  // Hashed as it is read: no buffer of up to 100 MB is needed for the digest.
  Md5Stream digest;
  const bool read = sorrel::platform::readFileInChunks(
      path, kMaxFileBytes, [&digest](const char* bytes, std::size_t count) { digest.add(bytes, count); });
  return read ? qevCheckValueOfDigest(digest.hex(), name, value) : 0;
}
