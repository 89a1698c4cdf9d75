#include "maintenance/report/whitelist_command.h"

#include "common/files/text_files.h"
#include "common/messages/prompter.h"
#include "maintenance/settings/config_lists.h"
#include "maintenance/settings/monitor_rules.h"

namespace {

// A line break would make one path several whitelist entries.
bool isWhitelistEntry(const std::string& path) {
  return !path.empty() && path.size() <= kMaxViewPathBytes && path.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

bool qevAddToWhitelist(Prompter& prompter, const std::vector<ViewRow>& rows, const TextsConfirmation& confirm,
                       const std::function<void()>& reload) {
  std::vector<std::string> entries;
  for (const ViewRow& row : rows) {
    if (row.checked && isWhitelistEntry(row.path)) entries.push_back(row.path);
  }
  if (entries.empty()) {
    prompter.inform(kWhitelistNothingChosenMessage, MessageIcon::Question);
    return false;
  }
  if (!confirm || !confirm(entries)) return false;

  const std::string configDir = qevUsableConfigDirectory(prompter);
  if (configDir.empty()) return false;
  const std::string file = qevConfigFilePath(configDir, kMonitorWhitelistFile);
  std::string added;
  for (const std::string& entry : entries) added += entry + "\r\n";
  if (qevPrependFileText(file, added) != 1) {
    prompter.inform("保存文件“" + file + "”失败，请重试！", MessageIcon::Question);
    return false;
  }
  if (reload) reload();
  prompter.inform(kWhitelistAddedMessage, MessageIcon::Information);
  return true;
}
