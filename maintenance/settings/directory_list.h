#pragma once
#include <string>

// A list of existing directories typed by the operator (the scan list, the monitored
// directories): lines trimmed, 1..260 bytes, duplicates dropped comparing exactly (paths keep
// their case), at least one line, the normalised text 3..8191 bytes, every line an existing
// directory (a file or a dangling name is none; a link to a directory only where the list allows
// it).

// The refusals in the words of the list that is checked.
struct DirectoryListMessages {
  const char* noDirectory;
  const char* length;
  std::string (*missing)(const std::string& line);
};

// Whether a line may be a link that resolves to a directory. The scan list allows it: the walk
// enters such a root (and still follows no link below it).
enum class DirectoryLinks { Refused, Allowed };

// "" with the normalised text ("\r\n" after every line), or the message that says why the list
// is refused (normalized then empty).
std::string qevCheckDirectoryList(const std::string& text, const DirectoryListMessages& messages,
                                  std::string& normalized, DirectoryLinks links = DirectoryLinks::Refused);
