#pragma once
#include <span>

class CSorrelmedeDlg;
class QMenu;

// The "更多功能" menu of the main window: every command without a visible control, under a
// Chinese caption, run through the window's dispatch by id. A feature that brings such a command
// adds one row. An entry shows disabled while its command has no handler; the entry of a hidden
// check box shows and sets that box's state before its command runs.
struct MoreCommand {
  const char* caption;  // nullptr: a separator
  int id;
};

std::span<const MoreCommand> qevMoreCommands();

// The menu for the window (owned by it). Its entries are brought up to date each time it opens.
QMenu* qevCreateMoreCommandsMenu(CSorrelmedeDlg& window);

inline constexpr const char* kMoreCommandsCaption = "更多功能";
