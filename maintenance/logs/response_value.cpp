#include "maintenance/logs/response_value.h"

#include <algorithm>
#include <string_view>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

bool qevGetResponseValue(const std::string& answer, const std::string& key, const std::string& separators,
                         std::string& value) {
  value.clear();
  if (answer.empty() || separators.empty()) return false;
  const std::string_view text(answer);
  std::size_t start = text.find_first_not_of(separators);
  while (start != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
    const std::string_view line = text.substr(start, end - start);
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && equalsIgnoringCase(line.substr(0, equals), key)) {
      value.assign(line.substr(equals + 1));
      return true;
    }
    start = text.find_first_not_of(separators, end);
  }
  return false;
}
