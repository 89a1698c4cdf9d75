#pragma once
#include <cstddef>
#include <string>

// MD5 (RFC 1321) of the bytes as 32 lower-case hexadecimal digits.
std::string qevMd5Hex(const void* bytes, std::size_t count);
