#pragma once
#include <string>
#include <vector>

// Columns of text lined up on a terminal; East Asian wide characters take two columns.
struct TextColumn {
  std::string header;
  bool alignRight = false;
};

// The header line, then one line per row (each row one text per column), columns two blanks
// apart. The last column is never padded, so a long path does not widen the others.
std::vector<std::string> qevTextTableLines(const std::vector<TextColumn>& columns,
                                           const std::vector<std::vector<std::string>>& rows);
