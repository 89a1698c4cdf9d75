#include "common/files/profile.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "common/files/long_path.h"
#include "common/platform/files.h"

namespace {

constexpr const char* kBlanks = " \t\v\f";

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// Lines without their "\r\n" or "\n" ending.
std::vector<std::string> splitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  return content;
}

// "[name]" gives the name, blanks around it removed.
bool sectionOf(const std::string& line, std::string& name) {
  const std::string text = trimmed(line);
  if (text.empty() || text.front() != '[') return false;
  const std::size_t close = text.find(']');
  name = trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// "key = value" gives both, blanks around them removed; comments and other lines give nothing.
bool keyOf(const std::string& line, std::string& key, std::string& value) {
  const std::string text = trimmed(line);
  if (text.empty() || text.front() == ';' || text.front() == '[') return false;
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  key = trimmed(text.substr(0, equals));
  value = trimmed(text.substr(equals + 1));
  return true;
}

std::string withoutQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where a section starts and where the next one starts; begin == lines.size() when missing.
struct SectionRange {
  std::size_t begin;
  std::size_t end;
};

SectionRange findSection(const std::vector<std::string>& lines, const std::string& section) {
  SectionRange range{lines.size(), lines.size()};
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!sectionOf(lines[i], name)) continue;
    if (range.begin != lines.size()) {
      range.end = i;
      return range;
    }
    if (sameName(name, section)) range.begin = i;
  }
  return range;
}

bool findKey(const std::vector<std::string>& lines, const SectionRange& range,
             const std::string& key, std::size_t& at, std::string& value) {
  std::string name;
  for (std::size_t i = range.begin + 1; i < range.end; ++i) {
    if (keyOf(lines[i], name, value) && sameName(name, key)) {
      at = i;
      return true;
    }
  }
  return false;
}

bool lookUp(const std::string& file, const std::string& section, const std::string& key,
            std::string& value) {
  std::string content;
  if (!sorrel::platform::readFileUnlocked(file, kMaxFileBytes, content)) return false;
  const std::vector<std::string> lines = splitLines(content);
  const SectionRange range = findSection(lines, trimmed(section));
  std::size_t at = 0;
  if (range.begin == lines.size() || !findKey(lines, range, trimmed(key), at, value)) return false;
  value = withoutQuotes(value);
  return true;
}

bool hasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// Names and values that would break the line structure are refused: a value with a line break
// could plant keys of its own.
bool writable(const std::string& section, const std::string& key, const std::string& value) {
  if (section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) ||
      hasLineBreak(value)) {
    return false;
  }
  return section.find(']') == std::string::npos && key.find('=') == std::string::npos &&
         key.front() != '[' && key.front() != ';';
}

void setKey(std::vector<std::string>& lines, const std::string& section, const std::string& key,
            const std::string& value) {
  const std::string entry = key + "=" + value;
  const SectionRange range = findSection(lines, section);
  if (range.begin == lines.size()) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
    return;
  }
  std::size_t at = 0;
  std::string oldValue;
  if (findKey(lines, range, key, at, oldValue)) {
    lines[at] = entry;
    return;
  }
  std::size_t insertAt = range.end;  // after the section's last non-blank line
  while (insertAt > range.begin + 1 && trimmed(lines[insertAt - 1]).empty()) --insertAt;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
}

}  // namespace

std::string qevReadProfileString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) {
  std::string value;
  return lookUp(file, section, key, value) ? value : defaultValue;
}

int qevReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                      int defaultValue) {
  std::string value;
  if (!lookUp(file, section, key, value)) return defaultValue;
  std::size_t at = 0;
  const bool negative = !value.empty() && value[0] == '-';
  if (!value.empty() && (value[0] == '-' || value[0] == '+')) at = 1;
  long long number = 0;
  for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
    number = std::min<long long>(number * 10 + (value[at] - '0'), 1LL + INT_MAX);
  }
  if (negative) number = -number;
  return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

int qevWriteProfileString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value) {
  const std::string sectionName = trimmed(section);
  const std::string keyName = trimmed(key);
  if (file.empty() || !writable(sectionName, keyName, value)) return 0;
  using sorrel::platform::LockedFile;
  LockedFile locked = LockedFile::openForUpdate(file, sorrel::platform::LockRetry{});
  std::string content;
  if (!locked.isOpen() || !locked.readAll(kMaxFileBytes, content)) return 0;
  std::vector<std::string> lines = splitLines(content);
  setKey(lines, sectionName, keyName, trimmed(value));
  const std::string updated = joinLines(lines);
  if (updated == content) return 1;  // nothing changes: spare the disk a flush
  return locked.replace(updated) ? 1 : 0;
}
