#pragma once
#include "console/worker_thread.h"

// Body of the scan watcher: every 3 seconds it reads refscanlog and, when the scanner has
// recorded new rows ("1"), resets the key and reloads the record list. Ends when the window closes.
void qevRunScanWatcher(const WorkerContext& context);
