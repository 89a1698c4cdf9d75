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

// The steps of the scan command, for a front end that starts the scanner its own way.

// True when no scanner of this program directory runs (another installation's scanner is not
// ours to wait for or end). When one runs, the operator chooses between waiting for it (Yes)
// and ending it (No); a process list that cannot be read is reported. False then.
bool qevNoScannerRunning(Prompter& prompter, const std::string& programDir);
// Writes CompactDatabase = "0" and clears the cleaning-active flag: a pass in this process
// stops before its next entry.
void qevWithdrawCleaningRequest();
// The scanner's full path, once it exists and its check value matches config/Sorrelscan.in;
// "" after telling the operator why not.
std::string qevVerifiedScannerPath(Prompter& prompter, const std::string& programDir);

// "启动文件扫描程序“<command line>”失败，请重试！..." for a scanner that could not be started.
std::string qevScannerStartFailedMessage(const std::string& commandLine);

// The scanner's program name ("Sorrelscan"). Tests that run stand-in scanners give them a name
// of their own, so that ending "every scanner" never reaches another test's processes.
std::string qevScannerName();
void qevSetScannerNameForTesting(const std::string& name);
