#include "cli/json_text.h"

#include <cstdio>

namespace {

std::string hexEscape(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "\\u%04x", value);
  return text;
}

// Length of the valid UTF-8 sequence at the start of bytes (not overlong, no surrogate, at most
// U+10FFFF), or 0.
std::size_t validSequence(const unsigned char* bytes, std::size_t available) {
  const unsigned char lead = bytes[0];
  std::size_t length = 0;
  char32_t minimum = 0;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (length > available) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return 0;
    code = (code << 6) | (bytes[i] & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string qevJsonString(const std::string& text) {
  std::string json = "\"";
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char byte = bytes[at];
    if (byte >= 0x80) {
      const std::size_t length = validSequence(bytes + at, text.size() - at);
      if (length == 0) {
        json += hexEscape(0xDC00 + byte);
        ++at;
      } else {
        json.append(text, at, length);
        at += length;
      }
      continue;
    }
    switch (byte) {
      case '"': json += "\\\""; break;
      case '\\': json += "\\\\"; break;
      case '\n': json += "\\n"; break;
      case '\r': json += "\\r"; break;
      case '\t': json += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          json += hexEscape(byte);
        } else {
          json += static_cast<char>(byte);
        }
    }
    ++at;
  }
  return json + "\"";
}

std::string qevJsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
  std::string json = "{";
  for (const auto& [key, value] : members) {
    if (json.size() > 1) json += ", ";
    json += qevJsonString(key) + ": " + value;
  }
  return json + "}";
}

std::string qevJsonArray(const std::vector<std::string>& elements) {
  std::string json = "[";
  for (std::size_t i = 0; i < elements.size(); ++i) json += (i == 0 ? "\n  " : ",\n  ") + elements[i];
  return json + (elements.empty() ? "]" : "\n]");
}
