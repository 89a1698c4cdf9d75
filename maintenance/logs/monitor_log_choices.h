#pragma once
#include <string>
#include <vector>

// The drop-down choices of the log query: the distinct non-empty values of serip, fileaction,
// chkfileinfo and blockfileinfo, in ascending order, at most 1,000 of each.
struct MonitorLogChoices {
  std::vector<std::string> serverIps;
  std::vector<std::string> actions;
  std::vector<std::string> categories;
  std::vector<std::string> keywords;
};
inline constexpr int kMonitorLogChoiceLimit = 1000;

// 1 read (lists possibly empty), 0 failure.
int qevLoadMonitorLogChoices(MonitorLogChoices& choices);
