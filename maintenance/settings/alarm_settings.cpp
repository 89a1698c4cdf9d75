#include "maintenance/settings/alarm_settings.h"

#include <vector>

#include "common/files/exe_dir.h"
#include "common/files/settings.h"
#include "common/files/text_files.h"
#include "common/messages/prompter.h"
#include "common/text/list_text.h"
#include "common/text/trim.h"
#include "maintenance/settings/config_lists.h"

namespace {

constexpr int kDefaultInterval = 10;
constexpr int kMinInterval = 5;
constexpr int kMaxInterval = 1800;
constexpr std::size_t kMaxIntervalDigits = 4;
constexpr std::size_t kMaxUrlText = 0x100000;

constexpr const char* kIntervalMessage = "填写的监控时间间隔有错误，填写范围是 5 - 1800 之间的数字，请重试！";
constexpr const char* kNoUrlMessage =
    "请填写主控网站网址，请重试！\r\n\r\n\r\n"
    "特别说明，主控网站需要自行建立WEB网站，主控网站的ASP程序代码，需要单独从我们的网站下载并安装。";
constexpr const char* kNormalizeFailedMessage = "尝试去除重复记录时失败，请重试！";

struct Switch {
  const char* question;
  const char* value;
  const char* done;
};
constexpr Switch kSwitchOn{"确定开启文件监控报警功能吗？", "1", "文件监控报警功能已经开启！"};
constexpr Switch kSwitchOff{"确定关闭监控报警功能吗？", "0", "文件监控报警功能已经关闭！"};

std::string saveFailedMessage(const std::string& path) { return "保存配置文件“" + path + "”失败，请重试！"; }

// Only digits count: "12ab" is no number of minutes, whatever its leading digits say.
bool isInterval(const std::string& text) {
  if (text.empty() || text.size() > kMaxIntervalDigits) return false;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= kMinInterval && value <= kMaxInterval;
}

// URLs are no paths: duplicates compare without regard to case, the first form is kept.
int normalizedUrls(const std::string& text, std::string& urls, int& count) {
  std::vector<std::string> lines;
  return qevNormalizeListText(text, 1, 260, false, false, urls, lines, count);
}

AlarmSettingsSave refuse(Prompter& prompter, const std::string& message, AlarmSettingsField field) {
  prompter.inform(message, MessageIcon::Question);
  return {false, field};
}

}  // namespace

AlarmSettings qevLoadAlarmSettings(Prompter& prompter) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return {};
  }
  AlarmSettings settings;
  int interval = qevReadSettingInt(kAlarmIntervalKey, kDefaultInterval);
  if (interval < kMinInterval || interval > kMaxInterval) interval = kDefaultInterval;
  settings.interval = std::to_string(interval);

  std::string stored;
  const std::string path = qevConfigFilePath(qevConfigDirectoryOf(programDir), kAlarmUrlsFile);
  int count = 0;
  if (qevReadFileText(path, stored) == 1) normalizedUrls(stored, settings.urls, count);
  return settings;
}

AlarmSettingsSave qevSaveAlarmSettings(Prompter& prompter, AlarmSettings& settings) {
  const std::string interval = qevTrimWhiteSpace(settings.interval);
  if (!isInterval(interval)) return refuse(prompter, kIntervalMessage, AlarmSettingsField::Interval);
  const std::string configDir = qevUsableConfigDirectory(prompter);
  if (configDir.empty()) return {};

  const std::string typed = qevTrimWhiteSpace(settings.urls);
  if (typed.empty() || typed.size() >= kMaxUrlText) return refuse(prompter, kNoUrlMessage, AlarmSettingsField::Urls);
  std::string urls;
  int count = 0;
  if (normalizedUrls(typed, urls, count) != 1) {
    return refuse(prompter, kNormalizeFailedMessage, AlarmSettingsField::Urls);
  }
  // Lines that are all too long would leave an empty list saved as if it were the one typed.
  if (count == 0) return refuse(prompter, kNoUrlMessage, AlarmSettingsField::Urls);

  const std::string path = qevConfigFilePath(configDir, kAlarmUrlsFile);
  if (qevWriteFileText(path, urls) != 1) {
    prompter.inform(saveFailedMessage(path), MessageIcon::Question);
    return {};
  }
  if (qevWriteSetting(kAlarmIntervalKey, interval) != 1) {
    prompter.inform(saveFailedMessage(qevSettingsPath()), MessageIcon::Question);
    return {};
  }
  settings = AlarmSettings{urls, interval};
  return {true, AlarmSettingsField::None};
}

bool qevSwitchAlarm(Prompter& prompter, bool on) {
  const Switch& texts = on ? kSwitchOn : kSwitchOff;
  if (!prompter.askYesNo(texts.question)) return false;
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Question);
    return false;
  }
  if (qevWriteSetting(kAlarmStatusKey, texts.value) != 1) {
    prompter.inform(saveFailedMessage(qevSettingsPath()), MessageIcon::Question);
    return false;
  }
  prompter.inform(texts.done, MessageIcon::Information);
  return true;
}
