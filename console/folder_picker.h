#pragma once
#include <functional>
#include <string>

class QWidget;

// Asks the operator for a folder. 1 with its absolute path, 0 when nothing was chosen.
int qevBrowseFolder(QWidget* parent, std::string& path);

// Tests answer the picker themselves; an empty function restores the real one.
using FolderPicker = std::function<int(QWidget* parent, std::string& path)>;
void qevSetFolderPickerForTesting(FolderPicker picker);
