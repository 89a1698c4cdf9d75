#include "maintenance/logs/log_lines.h"

#include "maintenance/logs/answer_lines.h"

namespace {

constexpr std::size_t kNeededFields = 14;
// Field number -> position in LogLineFields; fields 0 and 5 are not kept.
constexpr std::array<int, kNeededFields> kKeptAt = {-1, 0, 1, 2, 3, -1, 4, 5, 6, 7, 8, 9, 10, 11};

}  // namespace

bool qevSplitLogLine(std::string_view line, LogLineFields& fields) {
  if (line.size() < kMinLogLine || line.size() > kMaxLogLine) return false;
  std::size_t start = 0;
  for (std::size_t field = 0; field < kNeededFields; ++field) {
    if (start > line.size()) return false;  // the line ended before this field
    const std::size_t tab = line.find('\t', start);
    const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
    if (kKeptAt[field] >= 0) fields[static_cast<std::size_t>(kKeptAt[field])] = line.substr(start, end - start);
    start = end + 1;
  }
  return true;
}

std::vector<std::string_view> qevUsedLogLines(std::string_view text) {
  std::vector<std::string_view> used;
  LogLineFields fields;
  qevForEachAnswerLine(text, "\r\n", [&used, &fields](std::string_view line) {
    if (qevSplitLogLine(line, fields)) used.push_back(line);
    return true;
  });
  return used;
}
