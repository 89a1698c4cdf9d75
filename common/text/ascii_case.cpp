#include "common/text/ascii_case.h"

char qevLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string qevLowerAscii(std::string text) {
  for (char& c : text) c = qevLowerAscii(c);
  return text;
}

bool qevEqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (qevLowerAscii(a[i]) != qevLowerAscii(b[i])) return false;
  }
  return true;
}
