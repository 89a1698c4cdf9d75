#include "common/text/md5_hex.h"

#include <openssl/evp.h>

namespace {

std::string toHex(const unsigned char* digest, unsigned int length) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(length * 2);
  for (unsigned int i = 0; i < length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}

}  // namespace

std::string qevMd5Hex(const void* bytes, std::size_t count) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes, count, digest, &length, EVP_md5(), nullptr) != 1) return {};
  return toHex(digest, length);
}

Md5Stream::Md5Stream() : context_(EVP_MD_CTX_new()) {
  auto* context = static_cast<EVP_MD_CTX*>(context_);
  if (context != nullptr && EVP_DigestInit_ex(context, EVP_md5(), nullptr) != 1) {
    EVP_MD_CTX_free(context);
    context_ = nullptr;
  }
}

Md5Stream::~Md5Stream() { EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(context_)); }

void Md5Stream::add(const void* bytes, std::size_t count) {
  auto* context = static_cast<EVP_MD_CTX*>(context_);
  if (context != nullptr && EVP_DigestUpdate(context, bytes, count) != 1) {
    EVP_MD_CTX_free(context);
    context_ = nullptr;
  }
}

std::string Md5Stream::hex() {
  auto* context = static_cast<EVP_MD_CTX*>(context_);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (context == nullptr || EVP_DigestFinal_ex(context, digest, &length) != 1) return {};
  EVP_MD_CTX_free(context);
  context_ = nullptr;
  return toHex(digest, length);
}
