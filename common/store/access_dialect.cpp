#include "common/store/access_dialect.h"

#include <cctype>

namespace {

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::size_t skipBlanks(const std::string& text, std::size_t at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  return at;
}

// Matches a keyword (without regard to case) at `at` that is followed by a blank.
bool keywordAt(const std::string& text, std::size_t at, const char* keyword) {
  std::size_t i = 0;
  for (; keyword[i] != '\0'; ++i) {
    if (at + i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != keyword[i]) return false;
  }
  return at + i < text.size() && isBlank(text[at + i]);
}

}  // namespace

std::string qevTranslateAccessDialect(const std::string& statement) {
  const std::size_t select = skipBlanks(statement, 0);
  if (!keywordAt(statement, select, "select")) return statement;
  const std::size_t top = skipBlanks(statement, select + 6);
  if (!keywordAt(statement, top, "top")) return statement;
  const std::size_t countStart = skipBlanks(statement, top + 3);
  std::size_t countEnd = countStart;
  while (countEnd < statement.size() && std::isdigit(static_cast<unsigned char>(statement[countEnd]))) {
    ++countEnd;
  }
  if (countEnd == countStart || countEnd >= statement.size() || !isBlank(statement[countEnd])) {
    return statement;
  }
  // The limit goes after the last clause, before any closing ";" and blanks.
  std::size_t bodyEnd = statement.size();
  while (bodyEnd > countEnd && (isBlank(statement[bodyEnd - 1]) || statement[bodyEnd - 1] == ';')) {
    --bodyEnd;
  }
  const std::size_t bodyStart = skipBlanks(statement, countEnd);
  return statement.substr(0, top) + statement.substr(bodyStart, bodyEnd - bodyStart) + " limit " +
         statement.substr(countStart, countEnd - countStart);
}
