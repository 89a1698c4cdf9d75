#pragma once
#include <span>

// The controls of the main window with their ids, labels, visibility and places in a client
// area of 1000 x 680 pixels. Hidden controls belong to functions reached only by command id.
enum class ControlKind { Button, CheckBox, DropDown };

struct ControlDefinition {
  int id;
  ControlKind kind;
  const char* label;
  bool visible;
  int x, y, width, height;
};

inline constexpr int kInitialClientWidth = 1000;
inline constexpr int kInitialClientHeight = 680;

// Buttons, check boxes and drop-down lists. The record list, the title text, the progress bar
// and the two panes are made by the window itself.
std::span<const ControlDefinition> qevMainWindowControls();

// Layout of the panes: left and top of the record list, left of the preview and help panes.
inline constexpr int kPaneLeft = 12;
inline constexpr int kRecordListTop = 104;
