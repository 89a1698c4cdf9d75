#pragma once
#include <functional>
#include <string>

class Prompter;

// Lets the operator edit and save the scan list; true when the scan is to start.
using ScanListEditor = std::function<bool()>;

// The scan command: checks that no scanner runs (offering to end one that does), lets the
// operator edit the scan list, withdraws any cleaning request, verifies the scanner's check
// value and starts "Sorrelscan /FileScan" without waiting for it.
void qevLaunchScan(Prompter& prompter, const ScanListEditor& editScanList);

// The scanner's program name ("Sorrelscan"). Tests that run stand-in scanners give them a name
// of their own, so that ending "every scanner" never reaches another test's processes.
std::string qevScannerName();
void qevSetScannerNameForTesting(const std::string& name);
