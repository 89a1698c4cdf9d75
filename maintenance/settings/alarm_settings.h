#pragma once
#include <string>

class Prompter;

// The alarm settings of the file-monitor component (another program; this one only writes
// them), edited by the alarm settings dialog: the alarm addresses (config/FMReportUrl.dat, one
// per line, "\r\n" after every line), and the keys ReportTime (the alarm interval in minutes,
// 5..1800) and ReportStatus ("1" on, "0" off) of Sorrelscan.ini.
struct AlarmSettings {
  std::string urls;
  std::string interval;
};

inline constexpr const char* kAlarmUrlsFile = "FMReportUrl.dat";
inline constexpr const char* kAlarmIntervalKey = "ReportTime";
inline constexpr const char* kAlarmStatusKey = "ReportStatus";

// The settings as the dialog opens: the interval as stored, or "10" when it is missing or outside
// 5..1800; the addresses normalised (duplicates that differ only in case dropped), "" when the
// file cannot be read. The config directory is not created. Without a program directory the
// operator is told so (question icon) and both texts are empty.
AlarmSettings qevLoadAlarmSettings(Prompter& prompter);

// The edit a refusal is about: the dialog puts the focus on it.
enum class AlarmSettingsField { None, Urls, Interval };

struct AlarmSettingsSave {
  bool saved = false;
  AlarmSettingsField focus = AlarmSettingsField::None;
};

// Checks the interval (trimmed, 1..4 decimal digits, 5..1800) and the addresses (trimmed, not
// empty, under 1 MiB, at least one line of 1..260 bytes), writes the normalised addresses to
// config/FMReportUrl.dat and then ReportTime as typed (trimmed). Every refusal and write failure
// is told to the operator (question icon); ReportTime is not written when the address file was
// not. When saved, settings holds the normalised addresses and the trimmed interval; a save
// shows no message.
AlarmSettingsSave qevSaveAlarmSettings(Prompter& prompter, AlarmSettings& settings);

// Asks, then writes ReportStatus "1" (on) or "0" (off) and tells the operator. Answers true when
// it was written.
bool qevSwitchAlarm(Prompter& prompter, bool on);
