#include "common/check_value.h"

#include "common/long_path.h"
#include "common/md5_hex.h"
#include "common/platform/system.h"

namespace {

bool isCheckName(const std::string& name) { return !name.empty() && name.size() <= 259; }

// hex(MD5(first + salt + name)) for first = hex(MD5(bytes)); false unless both have 32 digits.
bool saltedDigest(const std::string& first, const std::string& name, std::string& value) {
  if (first.size() != 32) return false;
  const std::string salted = first + kCheckSalt + name;
  const std::string second = qevMd5Hex(salted.data(), salted.size());
  if (second.size() != 32) return false;
  value = second;
  return true;
}

}  // namespace

int qevTextCheckValue(const std::string& text, const std::string& name, std::string& value) {
  if (text.empty() || text.size() > kMaxFileBytes || !isCheckName(name)) return 0;
  return saltedDigest(qevMd5Hex(text.data(), text.size()), name, value) ? 1 : 0;
}

int qevFileCheckValue(const std::string& path, const std::string& name, std::string& value) {
  if (!isCheckName(name)) return 0;
  // Hashed as it is read: no buffer of up to 100 MB is needed for the digest.
  Md5Stream digest;
  const bool read = sorrel::platform::readFileInChunks(
      path, kMaxFileBytes, [&digest](const char* bytes, std::size_t count) { digest.add(bytes, count); });
  return read && saltedDigest(digest.hex(), name, value) ? 1 : 0;
}
