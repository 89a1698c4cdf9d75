#pragma once

class CSorrelmedeDlg;

// Command 1050: compaction of the recorded database files. The help page is shown in the help
// pane before the question; the web server's stop tool is waited for on a thread of its own
// while the window shows that it waits; then every row is marked and the cleaning request raised.
void qevRunCompactionCommand(CSorrelmedeDlg& window);

inline constexpr const char* kWebServerStopWaitText = "正在停止 IIS（qeviisreset /stop），请稍候……";
