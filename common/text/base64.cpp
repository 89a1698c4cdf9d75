#include "common/text/base64.h"

#include <array>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char kInvalid = 64;

// One entry per byte value: the 6-bit value of an alphabet character, 64 for every other byte.
constexpr std::array<unsigned char, 256> makeDecodeTable() {
  std::array<unsigned char, 256> table{};
  for (auto& entry : table) entry = kInvalid;
  for (unsigned char i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
  return table;
}
constexpr auto kDecodeTable = makeDecodeTable();

std::size_t countLeadingValid(const char* text) {
  std::size_t n = 0;
  while (kDecodeTable[static_cast<unsigned char>(text[n])] < kInvalid) ++n;
  return n;
}

unsigned char valueAt(const char* text, std::size_t at) {
  return kDecodeTable[static_cast<unsigned char>(text[at])];
}

}  // namespace

std::size_t qevBase64Encode(const unsigned char* bytes, std::size_t count, char* out) {
  std::size_t written = 0;
  std::size_t i = 0;
  for (; i + 3 <= count; i += 3) {
    const unsigned group = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out[written++] = kAlphabet[(group >> 18) & 0x3F];
    out[written++] = kAlphabet[(group >> 12) & 0x3F];
    out[written++] = kAlphabet[(group >> 6) & 0x3F];
    out[written++] = kAlphabet[group & 0x3F];
  }
  const std::size_t rest = count - i;
  if (rest > 0) {
    const unsigned group = (bytes[i] << 16) | (rest == 2 ? bytes[i + 1] << 8 : 0);
    out[written++] = kAlphabet[(group >> 18) & 0x3F];
    out[written++] = kAlphabet[(group >> 12) & 0x3F];
    out[written++] = rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
    out[written++] = '=';
  }
  out[written] = '\0';
  return written + 1;
}

std::size_t qevBase64DecodedSize(const char* text) {
  const std::size_t n = countLeadingValid(text);
  return ((n + 3) / 4) * 3 + 1;
}

std::size_t qevBase64Decode(const char* text, unsigned char* out) {
  const std::size_t n = countLeadingValid(text);
  if (n == 0) return 0;
  std::size_t at = 0;
  std::size_t written = 0;
  for (; n - at > 4; at += 4) {
    out[written++] = static_cast<unsigned char>(valueAt(text, at) << 2 | valueAt(text, at + 1) >> 4);
    out[written++] = static_cast<unsigned char>(valueAt(text, at + 1) << 4 | valueAt(text, at + 2) >> 2);
    out[written++] = static_cast<unsigned char>(valueAt(text, at + 2) << 6 | valueAt(text, at + 3));
  }
  const std::size_t last = n - at;  // 1..4 characters in the last group
  if (last >= 2) out[written++] = static_cast<unsigned char>(valueAt(text, at) << 2 | valueAt(text, at + 1) >> 4);
  if (last >= 3) out[written++] = static_cast<unsigned char>(valueAt(text, at + 1) << 4 | valueAt(text, at + 2) >> 2);
  if (last == 4) out[written++] = static_cast<unsigned char>(valueAt(text, at + 2) << 6 | valueAt(text, at + 3));
  return ((n + 3) / 4) * 3 - ((4 - last) % 4);
}
