#pragma once
#include <string>

// Shows an entry in the desktop's file manager, selected: the D-Bus call
// org.freedesktop.FileManager1.ShowItems, else xdg-open of the entry's folder.
// True when one of them was started.
bool qevShowInFolder(const std::u16string& path);

// Opens an address in the desktop's browser (xdg-open). True when it was started.
bool qevOpenAddress(const std::string& address);
