#include "common/text/list_text.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace {

constexpr std::size_t kMaxListText = 0x6400000;
constexpr std::size_t kMaxLine = 0x100000;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string trimmed(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  std::size_t begin = 0;
  while (begin < end && isBlank(text[begin])) ++begin;
  return text.substr(begin, end - begin);
}

// ASCII only: bytes of multi-byte UTF-8 characters are never touched.
std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
  });
  return text;
}

std::vector<std::string> splitAtCrLf(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", start)) {
    pieces.push_back(text.substr(start, at - start));
    start = at + 2;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

}  // namespace

int qevNormalizeListText(const std::string& text, std::size_t minLength, std::size_t maxLength,
                         bool lowerCase, bool directoryList, std::string& normalized,
                         std::vector<std::string>& lines, int& count) {
  normalized.clear();
  lines.clear();
  count = 0;
  if (text.empty() || text.size() >= kMaxListText || minLength >= maxLength) return 0;

  std::unordered_set<std::string> seen;
  for (std::string piece : splitAtCrLf(text)) {
    piece = trimmed(piece);
    if (lowerCase) piece = lowered(piece);
    if (piece.empty() || piece.size() >= kMaxLine) continue;
    if (piece.size() < minLength || piece.size() > maxLength) continue;
    const std::string key = directoryList ? piece : lowered(piece);
    if (!seen.insert(key).second) continue;
    lines.push_back(piece);
    normalized += piece + "\r\n";
    ++count;
  }
  return 1;
}
