#pragma once
#include "maintenance/logs/tcp_exchange.h"

class CSorrelmedeDlg;
class CDownloadLogFileDlg;

// The remote-log commands of the main window: 1016 download, 1002 clear and download again, 1015
// stop, 1035 the download status window and 1017 re-import. The download runs on a worker
// thread of its own, at most one per process; it reaches the window only through calls queued
// onto the window's thread. When the window closes, the worker is asked to stop: it ends at its
// next check (the exchange under way ends by its time-out) and is joined before the window
// goes away.
void qevInstallLogDownloadCommands(CSorrelmedeDlg& window);

// The status window of the window, once command 1035 has made it; else nullptr.
CDownloadLogFileDlg* qevDownloadStatusWindow(const CSorrelmedeDlg& window);
// Waits until the window's download worker (if any) has ended.
void qevJoinDownloadWorker(const CSorrelmedeDlg& window);

// The time-outs of the worker's exchanges (tests shorten them).
void qevSetDownloadTimeoutsForTesting(const AgentTimeouts& timeouts);
