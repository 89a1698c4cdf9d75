#include "maintenance/logs/response_value.h"

#include "common/text/ascii_case.h"
#include "maintenance/logs/answer_lines.h"

bool qevGetResponseValue(const std::string& answer, const std::string& key, const std::string& separators,
                         std::string& value) {
  value.clear();
  if (answer.empty() || separators.empty()) return false;
  bool found = false;
  qevForEachAnswerLine(answer, separators, [&](std::string_view line) {
    const std::size_t equals = line.find('=');
    found = equals != std::string_view::npos && qevEqualsIgnoringAsciiCase(line.substr(0, equals), key);
    if (found) value.assign(line.substr(equals + 1));
    return !found;
  });
  return found;
}
