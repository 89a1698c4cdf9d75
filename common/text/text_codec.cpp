#include "common/text/text_codec.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // lone surrogate U+DC00 + byte for a non-UTF-8 byte

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence at text[at] and its code point, or 0 when the bytes there
// are not valid UTF-8 (overlong forms, encoded surrogates and values past U+10FFFF included).
std::size_t decodeSequence(const std::string& text, std::size_t at, char32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) { length = 2; codePoint = lead & 0x1F; minimum = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { length = 3; codePoint = lead & 0x0F; minimum = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { length = 4; codePoint = lead & 0x07; minimum = 0x10000; }
  else return 0;
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if (!isContinuation(next)) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

int qevWideToAnsi(const std::u16string& wide, std::string& ansi) {
  ansi.clear();
  if (wide.empty() || wide.size() > kMaxConvertUnits) return 2;
  ansi.reserve(wide.size() * 3);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    if (isHighSurrogate(unit) && i + 1 < wide.size() && isLowSurrogate(wide[i + 1])) {
      const char32_t codePoint = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      appendUtf8(ansi, codePoint);
      ++i;
    } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
      ansi += static_cast<char>(unit - kEscapeBase);  // an escaped non-UTF-8 byte
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      ansi.clear();  // a lone surrogate that stands for no byte has no ANSI form
      return 0;
    } else {
      appendUtf8(ansi, unit);
    }
  }
  return 1;
}

int qevAnsiToWide(const std::string& ansi, std::u16string& wide) {
  wide.clear();
  if (ansi.empty() || ansi.size() > kMaxConvertUnits) return 2;
  wide.reserve(ansi.size());
  for (std::size_t at = 0; at < ansi.size();) {
    char32_t codePoint = 0;
    const std::size_t length = decodeSequence(ansi, at, codePoint);
    if (length == 0) {
      wide += static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(ansi[at]));
      ++at;
      continue;
    }
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      wide += static_cast<char16_t>(0xD800 + (codePoint >> 10));
      wide += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
      wide += static_cast<char16_t>(codePoint);
    }
    at += length;
  }
  if (wide.size() > kMaxConvertUnits) {
    wide.clear();
    return 0;
  }
  return 1;
}

std::string qevUtf16LeBytes(const std::u16string& wide) {
  std::string bytes;
  bytes.reserve(wide.size() * 2);
  for (const char16_t unit : wide) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string qevFromUtf16LeBytes(const unsigned char* bytes, std::size_t count) {
  std::u16string wide;
  wide.reserve(count / 2);
  for (std::size_t i = 0; i + 1 < count; i += 2) {
    wide += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  return wide;
}
