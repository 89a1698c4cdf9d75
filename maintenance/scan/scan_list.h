#pragma once
#include <string>

class Prompter;

// The scan list config/ScanDir.txt: the website directories to scan, one per line, "\r\n" after
// every line.

// The saved list as the scan dialog opens it: blank lines between entries removed; "" when the
// program directory, the config directory or the file cannot be used.
std::string qevLoadScanList();

enum class ScanListSave {
  Saved,           // normalized holds the text written to ScanDir.txt
  ListRefused,     // the operator was told what is wrong with the list
  ConfigUnusable,  // the operator was told that the config directory cannot be used
  NotWritten,      // the operator was told that ScanDir.txt could not be written
};

// Checks the text of a scan list (one directory per "\r\n" line) and saves it normalised:
// lines trimmed, duplicates and blank lines dropped, every line an existing directory or a link
// to one. On anything but Saved, normalized is empty and the saved list is unchanged.
ScanListSave qevSaveScanList(Prompter& prompter, const std::string& text, std::string& normalized);
