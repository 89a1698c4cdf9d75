#include "maintenance/settings/directory_list.h"

#include <vector>

#include "common/files/paths.h"
#include "common/text/list_text.h"
#include "common/text/trim.h"

namespace {

constexpr std::size_t kMaxLine = 260;
constexpr std::size_t kMaxLineInList = 0x100000;
constexpr std::size_t kMaxListText = 8192;

bool isUsableDirectory(const std::string& directory, DirectoryLinks links) {
  if (qevDirectoryExists(directory) == 1) return true;
  return links == DirectoryLinks::Allowed && qevResolvesToDirectory(directory) == 1;
}

}  // namespace

std::string qevCheckDirectoryList(const std::string& text, const DirectoryListMessages& messages,
                                  std::string& normalized, DirectoryLinks links) {
  normalized.clear();
  std::string candidate;
  std::vector<std::string> lines;
  int count = 0;
  qevNormalizeListText(text, 1, kMaxLine, false, true, candidate, lines, count);
  if (count == 0) return messages.noDirectory;
  if (candidate.size() <= 2 || candidate.size() >= kMaxListText) return messages.length;
  for (const std::string& line : lines) {
    const std::string directory = qevTrimWhiteSpace(line);
    if (directory.size() >= kMaxLineInList) return messages.length;
    if (!isUsableDirectory(directory, links)) return messages.missing(directory);
  }
  normalized = std::move(candidate);
  return {};
}
