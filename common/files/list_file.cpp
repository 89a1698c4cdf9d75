#include "common/files/list_file.h"

#include <unordered_set>

#include "common/files/exe_dir.h"
#include "common/files/long_path.h"
#include "common/messages/event_report.h"
#include "common/platform/files.h"

namespace {

using sorrel::platform::FileError;
using sorrel::platform::LockedFile;

constexpr std::size_t kMaxNameLength = 64;
constexpr std::size_t kMaxPathLength = 255;  // the path had to fit a 256-byte buffer
constexpr const char* kErrorTitle = "qevReadTxtFileLine() ERR";

// The cause numbers that the reports carry (those of the original file-error classes).
int causeNumber(FileError error) {
  switch (error) {
    case FileError::None: return 0;
    case FileError::NotFound: return 2;
    case FileError::BadPath: return 3;
    case FileError::TooManyOpen: return 4;
    case FileError::AccessDenied: return 5;
    case FileError::SharingViolation: return 11;
    case FileError::Other: return 1;
  }
  return 1;
}

std::string openFailureText(const LockedFile& file, const std::string& path) {
  return "m_cause = " + std::to_string(causeNumber(file.error())) + ",m_strFileName = " + path +
         ",nopentime = " + std::to_string(file.sharingViolations());
}

void reportOpenFailure(const LockedFile& file, const std::string& path) {
  const std::string details = openFailureText(file, path);
  if (file.error() == FileError::SharingViolation) {
    qevReportEvent(kErrorTitle, "CFileException::sharingViolation > 30", details.c_str());
  } else {
    qevReportEvent(kErrorTitle, details.c_str(), "");
  }
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

// Trimmed at both ends, with every "\r" and "\n" removed.
std::string cleanLine(const std::string& line) {
  std::size_t first = 0;
  std::size_t last = line.size();
  while (first < last && isBlank(line[first])) ++first;
  while (last > first && isBlank(line[last - 1])) --last;
  std::string clean;
  clean.reserve(last - first);
  for (std::size_t i = first; i < last; ++i) {
    if (line[i] != '\r' && line[i] != '\n') clean += line[i];
  }
  return clean;
}

void addLines(const std::string& content, std::vector<std::string>& list) {
  std::unordered_set<std::string> present(list.begin(), list.end());
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = cleanLine(content.substr(start, end - start));
    start = end + 1;
    if (line.size() < 2 || line.front() == ';') continue;
    if (present.insert(line).second) list.push_back(std::move(line));
  }
}

}  // namespace

int qevReadTxtFileLine(const std::string& fileName, std::vector<std::string>& list) {
  if (fileName.empty() || fileName.size() > kMaxNameLength ||
      fileName.find('/') != std::string::npos) {
    return 0;
  }
  std::string dir;
  if (qevGetExeDir(dir) != 1) return 0;
  const std::string path = dir + "config/" + fileName;
  if (path.size() > kMaxPathLength) return 0;

  LockedFile file = LockedFile::openForReading(path, sorrel::platform::LockRetry{});
  if (!file.isOpen()) {
    reportOpenFailure(file, path);
    return 0;
  }
  std::string content;
  if (!file.readAll(kMaxFileBytes, content)) {
    qevReportEvent("qevReadTxtFileLine() catch err", path.c_str(), "");
    return 0;
  }
  addLines(content, list);
  return 1;
}
