#include "common/md5_hex.h"

#include <openssl/evp.h>

std::string qevMd5Hex(const void* bytes, std::size_t count) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes, count, digest, &length, EVP_md5(), nullptr) != 1) return {};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}
