#pragma once
#include <string>

class Prompter;

// The list files in <program directory>config/ that the settings dialogs edit (one entry per
// line, "\r\n" after every line), and the config directory that holds them.

// <programDir>/config, separators collapsed; nothing is created.
std::string qevConfigDirectoryOf(const std::string& programDir);

// The config directory for a dialog that opens: created when missing; "" when the program
// directory cannot be determined or the directory cannot be made. Never shows a message.
std::string qevOpenConfigDirectory();

// The config directory for a save: created when missing; "" after telling the operator why it
// cannot be used ("获取EXE文件路劲失败，请重试！", "建立目录“%s”失败，请重试！" or
// "保存配置文件失败，目录“%s”无法访问，请重试！", all with the question icon).
std::string qevUsableConfigDirectory(Prompter& prompter);

// <configDir>/<fileName>, separators collapsed.
std::string qevConfigFilePath(const std::string& configDir, const std::string& fileName);

// The file's text as an edit shows it: blank lines between entries removed. "" when the file
// cannot be read.
std::string qevLoadListForEditing(const std::string& configDir, const std::string& fileName);
