#pragma once
#include <functional>
#include <string>

// Common code never shows a window itself: each program installs one hook (the desktop program
// shows a message box, the scanner prints to its console). Without a hook, messages go to stderr.
enum class MessageIcon { Question, Information, Warning, Stop };

using OperatorMessageHook = std::function<void(const std::string& text, MessageIcon icon)>;

void qevSetOperatorMessageHook(OperatorMessageHook hook);
void qevShowOperatorMessage(const std::string& text, MessageIcon icon);

inline constexpr const char* kExeDirFailedMessage = "获取EXE文件路劲失败，请重试！";
