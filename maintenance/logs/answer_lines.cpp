#include "maintenance/logs/answer_lines.h"

#include <algorithm>

void qevForEachAnswerLine(std::string_view text, std::string_view separators,
                          const std::function<bool(std::string_view line)>& onLine) {
  if (separators.empty()) return;
  std::size_t start = text.find_first_not_of(separators);
  while (start != std::string_view::npos) {
    const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
    if (!onLine(text.substr(start, end - start))) return;
    start = text.find_first_not_of(separators, end);
  }
}
