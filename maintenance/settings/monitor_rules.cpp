#include "maintenance/settings/monitor_rules.h"

#include <vector>

#include "common/files/text_files.h"
#include "common/messages/prompter.h"
#include "common/text/list_text.h"
#include "maintenance/settings/config_lists.h"
#include "maintenance/settings/directory_list.h"

namespace {

constexpr std::size_t kMinLine = 1;
constexpr std::size_t kMaxLine = 260;
constexpr std::size_t kMaxListText = 8192;
constexpr std::size_t kMaxWhitelistText = 0xa00000;

constexpr const char* kNoScriptMessage =
    "请填写需要监控的脚本，例如 .asp / .php / .aspx ...\r\n\r\n\r\n请返回重新填写有效的监控脚本名！";
constexpr const char* kScriptLengthMessage =
    "请填写的监控脚本长度有错误，例如 .asp / .php / .aspx ...\r\n\r\n\r\n请返回重新填写有效的监控脚本名！";
constexpr const char* kWhitelistLengthMessage = "请填写的“目录白名单”长度有错误\r\n\r\n\r\n请返回重新填写！";
constexpr const char* kStartQuestion =
    "确定开启文件主动防御监控吗？\r\n\r\n\r\n特别说明：此功能模块依赖木马特征库，请定期使用“在线升级”获取最新的特征库文件。";

std::string missingDirectoryMessage(const std::string& line) {
  return "填写的监控目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的监控目录名！";
}

constexpr DirectoryListMessages kDirectoryMessages{
    "请填写需要监控的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的监控目录名！",
    "请填写的监控目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的监控目录名！",
    missingDirectoryMessage,
};

struct NormalizedList {
  std::string text;
  std::vector<std::string> lines;
  int count = 0;
};

// Paths keep their case and compare exactly; other lists compare without regard to case.
NormalizedList normalized(const std::string& text, bool lowerCase, bool paths) {
  NormalizedList list;
  qevNormalizeListText(text, kMinLine, kMaxLine, lowerCase, paths, list.text, list.lines, list.count);
  return list;
}

MonitorRulesSave refuse(Prompter& prompter, const std::string& message, MonitorRulesField field) {
  prompter.inform(message, MessageIcon::Question);
  return {false, field};
}

std::string scriptListProblem(const NormalizedList& list) {
  if (list.count == 0) return kNoScriptMessage;
  if (list.text.size() < 3 || list.text.size() >= kMaxListText) return kScriptLengthMessage;
  return {};
}

}  // namespace

MonitorRules qevLoadMonitorRules() {
  const std::string configDir = qevOpenConfigDirectory();
  if (configDir.empty()) return {};
  return MonitorRules{qevLoadListForEditing(configDir, kMonitorDirectoriesFile),
                      qevLoadListForEditing(configDir, kMonitorScriptsFile),
                      qevLoadListForEditing(configDir, kMonitorWhitelistFile)};
}

MonitorRulesSave qevSaveMonitorRules(Prompter& prompter, MonitorRules& rules) {
  const std::string configDir = qevUsableConfigDirectory(prompter);
  if (configDir.empty()) return {};

  std::string directories;
  if (const std::string problem = qevCheckDirectoryList(rules.directories, kDirectoryMessages, directories);
      !problem.empty()) {
    return refuse(prompter, problem, MonitorRulesField::Directories);
  }
  const NormalizedList scripts = normalized(rules.scripts + kDefaultScriptExtensions, true, false);
  if (const std::string problem = scriptListProblem(scripts); !problem.empty()) {
    return refuse(prompter, problem, MonitorRulesField::Scripts);
  }
  const NormalizedList whitelist = normalized(rules.whitelist, false, true);
  if (whitelist.text.size() > kMaxWhitelistText) {
    return refuse(prompter, kWhitelistLengthMessage, MonitorRulesField::Whitelist);
  }

  const struct {
    const char* file;
    const std::string& text;
  } writes[] = {
      {kMonitorDirectoriesFile, directories},
      {kMonitorScriptsFile, scripts.text},
      {kMonitorWhitelistFile, whitelist.text},
  };
  for (const auto& write : writes) {
    // The monitor must not be thought to run on rules that never reached it.
    const std::string path = qevConfigFilePath(configDir, write.file);
    if (qevWriteFileText(path, write.text) != 1) {
      prompter.inform("保存配置文件“" + path + "”失败，请重试！", MessageIcon::Question);
      return {};
    }
  }
  rules = MonitorRules{directories, scripts.text, whitelist.text};
  return {true, MonitorRulesField::None};
}

bool qevConfirmMonitorStart(Prompter& prompter) { return prompter.askYesNo(kStartQuestion); }
