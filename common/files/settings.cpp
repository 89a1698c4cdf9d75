#include "common/files/settings.h"

#include "common/files/paths.h"
#include "common/files/profile.h"

std::string qevSettingsPath() { return qevProgramPath(kSettingsFileName); }

std::string qevReadSetting(const std::string& key, const std::string& defaultValue) {
  const std::string path = qevSettingsPath();
  if (path.empty()) return defaultValue;
  return qevReadProfileString(path, kSettingsSection, key, defaultValue);
}

int qevReadSettingInt(const std::string& key, int defaultValue) {
  const std::string path = qevSettingsPath();
  if (path.empty()) return defaultValue;
  return qevReadProfileInt(path, kSettingsSection, key, defaultValue);
}

int qevWriteSetting(const std::string& key, const std::string& value) {
  const std::string path = qevSettingsPath();
  if (path.empty()) return 0;
  return qevWriteProfileString(path, kSettingsSection, key, value);
}
