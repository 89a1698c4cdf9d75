#pragma once
#include <cstddef>
#include <string>

// MD5 (RFC 1321) of the bytes as 32 lower-case hexadecimal digits.
std::string qevMd5Hex(const void* bytes, std::size_t count);

// MD5 computed over bytes handed in piece by piece.
class Md5Stream {
 public:
  Md5Stream();
  ~Md5Stream();
  Md5Stream(const Md5Stream&) = delete;
  Md5Stream& operator=(const Md5Stream&) = delete;

  void add(const void* bytes, std::size_t count);
  // 32 lower-case hexadecimal digits, or "" when the digest failed.
  std::string hex();

 private:
  void* context_;
};
