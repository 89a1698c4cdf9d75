#pragma once
#include <cstddef>

// Base64 with the standard alphabet, "=" padding, no line breaks.

// Writes 4 * ceil(count / 3) characters and a terminating zero byte into out (the caller
// provides that much room). Answers the number of characters written plus 1.
std::size_t qevBase64Encode(const unsigned char* bytes, std::size_t count, char* out);

// Size to allocate for decoding text: ((n + 3) / 4) * 3 + 1, n = count of leading alphabet
// characters (decoding stops at "=", the zero byte or any other byte).
std::size_t qevBase64DecodedSize(const char* text);

// Decodes the leading alphabet characters of text into out (no terminator written).
// Answers ((n + 3) / 4) * 3 - ((4 - r) mod 4), r = characters in the last group.
std::size_t qevBase64Decode(const char* text, unsigned char* out);
