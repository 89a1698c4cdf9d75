#pragma once
#include <string>

// The shared settings file Sorrelscan.ini in the program directory, section "Sorrelscan".
inline constexpr const char* kSettingsFileName = "Sorrelscan.ini";
inline constexpr const char* kSettingsSection = "Sorrelscan";

// Full path of Sorrelscan.ini, or "" when the program directory cannot be determined.
std::string qevSettingsPath();

std::string qevReadSetting(const std::string& key, const std::string& defaultValue = "");
int qevReadSettingInt(const std::string& key, int defaultValue);
// 1 written, else 0.
int qevWriteSetting(const std::string& key, const std::string& value);
