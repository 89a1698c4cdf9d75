#include "common/check_value.h"

#include "common/long_path.h"
#include "common/md5_hex.h"
#include "common/platform/system.h"

namespace {

bool isCheckName(const std::string& name) { return !name.empty() && name.size() <= 259; }

// hex(MD5(hex(MD5(bytes)) + salt + name)); false unless both digests have 32 digits.
bool doubleDigest(const char* bytes, std::size_t count, const std::string& name, std::string& value) {
  const std::string first = qevMd5Hex(bytes, count);
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
  return doubleDigest(text.data(), text.size(), name, value) ? 1 : 0;
}

int qevFileCheckValue(const std::string& path, const std::string& name, std::string& value) {
  if (!isCheckName(name)) return 0;
  std::string bytes;
  if (!sorrel::platform::readRegularFile(path, kMaxFileBytes, bytes)) return 0;
  return doubleDigest(bytes.data(), bytes.size(), name, value) ? 1 : 0;
}
