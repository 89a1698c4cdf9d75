#include "cli/text_table.h"

#include <algorithm>

#include "cli/terminal.h"

namespace {

std::string padded(const std::string& text, std::size_t width, bool right) {
  const std::size_t shown = qevDisplayWidth(text);
  const std::string fill(width > shown ? width - shown : 0, ' ');
  return right ? fill + text : text + fill;
}

std::string line(const std::vector<TextColumn>& columns, const std::vector<std::size_t>& widths,
                 const std::vector<std::string>& cells) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const std::string cell = i < cells.size() ? cells[i] : std::string();
    if (i > 0) text += "  ";
    text += i + 1 == columns.size() ? cell : padded(cell, widths[i], columns[i].alignRight);
  }
  return text;
}

}  // namespace

std::vector<std::string> qevTextTableLines(const std::vector<TextColumn>& columns,
                                           const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  std::vector<std::string> headers;
  for (const TextColumn& column : columns) {
    widths.push_back(qevDisplayWidth(column.header));
    headers.push_back(column.header);
  }
  for (const auto& cells : rows) {
    for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], qevDisplayWidth(cells[i]));
    }
  }
  std::vector<std::string> lines{line(columns, widths, headers)};
  for (const auto& cells : rows) lines.push_back(line(columns, widths, cells));
  return lines;
}
