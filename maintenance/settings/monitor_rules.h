#pragma once
#include <string>

class Prompter;

// The rules of the file-monitor component (another program; this one only writes them), edited
// by the monitor rules dialog: the monitored directories (config/FMDir.txt), the monitored script
// extensions (config/FMScript.txt) and the whitelist of directories and files, "*" wildcards
// allowed (config/FMExDir.txt). Every text holds one entry per line, "\r\n" after every line.
struct MonitorRules {
  std::string directories;
  std::string scripts;
  std::string whitelist;
};

inline constexpr const char* kMonitorDirectoriesFile = "FMDir.txt";
inline constexpr const char* kMonitorScriptsFile = "FMScript.txt";
inline constexpr const char* kMonitorWhitelistFile = "FMExDir.txt";

// Added to every script list before it is saved.
inline constexpr const char* kDefaultScriptExtensions = "\r\n.asp\r\n.php\r\n.aspx\r\n.ashx\r\n.asa\r\n.asax\r\n.cdx\r\n.cer";

// The three lists as the dialog opens: blank lines between entries removed. A file that cannot
// be read opens empty; all three do when the program or config directory cannot be used (the
// config directory is created when missing). Never shows a message.
MonitorRules qevLoadMonitorRules();

// The list a refusal is about: the dialog puts the focus on its edit.
enum class MonitorRulesField { None, Directories, Scripts, Whitelist };

struct MonitorRulesSave {
  bool saved = false;
  MonitorRulesField focus = MonitorRulesField::None;
};

// Checks and normalises the three lists, then writes the three files:
// - directories: lines trimmed, 1..260 bytes, duplicates dropped comparing exactly (paths keep
//   their case); at least one line, every line an existing directory, the list 3..8191 bytes;
// - scripts: the default extensions appended, lines lower-cased, duplicates dropped, 3..8191 bytes;
// - whitelist: lines trimmed, 1..260 bytes, duplicates dropped comparing exactly; may be empty
//   (the file then holds "\r\n").
// A refusal or an unusable config directory is told to the operator (question icon) and
// nothing is written. A file that cannot be written is told with its path and the files after it
// are not written. When saved, rules holds the normalised texts.
MonitorRulesSave qevSaveMonitorRules(Prompter& prompter, MonitorRules& rules);

// The question that follows a save; true for Yes. Nothing is started either way.
bool qevConfirmMonitorStart(Prompter& prompter);
