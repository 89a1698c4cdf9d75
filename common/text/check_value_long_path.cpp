#include <memory>

#include "common/files/long_path.h"
#include "common/platform/files.h"
#include "common/text/base64.h"
#include "common/text/check_value.h"
#include "common/text/md5_hex.h"
#include "common/text/text_codec.h"

namespace {

constexpr std::size_t kMaxNameBytes = 259;
constexpr std::uint64_t kSpareBytes = 10;
constexpr std::uint64_t kEncodedCeiling = 104857600;

bool isName(const std::string& text) { return !text.empty() && text.size() <= kMaxNameBytes; }

// The whole file in a buffer of size + 10 bytes; null unless it is a file of 1..104,857,599
// bytes that reads back at exactly its size.
std::unique_ptr<char[]> readFile(const std::u16string& longPath, std::uint64_t& size) {
  if (qevGetPathInfo(longPath, size) != 1 || size < 1 || size > kMaxFileBytes) return nullptr;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[size + kSpareBytes]);
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;
  if (!buffer ||
      qevReadWholeFile(longPath, buffer.get(), size + kSpareBytes, bytesRead, fileSize) != 1 ||
      bytesRead != size) {
    return nullptr;
  }
  return buffer;
}

// Every byte is XORed with each key byte in turn, which is XOR with all key bytes at once.
void scramble(char* bytes, std::uint64_t count, const std::string& key) {
  unsigned char combined = 0;
  for (const char c : key) combined ^= static_cast<unsigned char>(c);
  for (std::uint64_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(bytes[i] ^ combined);
}

}  // namespace

int qevFileCheckValue(const std::u16string& longPath, const std::string& name, std::string& value) {
  if (!isName(name)) return 0;
  std::string path;
  if (longPath.size() < 2 || longPath.size() > kMaxLongPath || longPath.front() != u'/' ||
      qevWideToAnsi(longPath, path) != 1) {
    return 0;
  }
  // Hashed as it is read: no buffer of up to 100 MB is needed for the digest.
  Md5Stream digest;
  const bool read = sorrel::platform::readFileChunks(
      path, kMaxFileBytes, [&digest](const char* bytes, std::size_t count) { digest.add(bytes, count); });
  return read ? qevCheckValueOfDigest(digest.hex(), name, value) : 0;
}

int qevPackFileForReport(const std::u16string& sourceLongPath,
                         const std::u16string& destinationLongPath, const std::string& key,
                         const std::string& name, std::string& value) {
  if (!isName(key) || !isName(name)) return 0;
  std::uint64_t size = 0;
  const std::unique_ptr<char[]> bytes = readFile(sourceLongPath, size);
  if (!bytes) return 0;
  scramble(bytes.get(), size, key);

  const std::uint64_t encodedSize = 4 * ((size + 2) / 3);
  if (encodedSize >= kEncodedCeiling) return 0;
  std::unique_ptr<char[]> encoded(new (std::nothrow) char[encodedSize + 1025]);
  if (!encoded) return 0;
  const std::size_t written =
      qevBase64Encode(reinterpret_cast<const unsigned char*>(bytes.get()), size, encoded.get());
  const std::uint64_t encodedLength = written - 1;
  if (encodedLength < 1 || encodedLength > kMaxFileBytes) return 0;

  std::string digest;
  if (qevCheckValueOfDigest(qevMd5Hex(encoded.get(), encodedLength), name, digest) != 1) return 0;
  if (qevWriteWholeFile(destinationLongPath, encoded.get(), encodedLength) != 1) return 0;
  value = digest;
  return 1;
}
