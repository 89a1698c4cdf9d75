#pragma once
#include "common/threads/worker_loop.h"

// Body of the scan watcher: every 3 seconds it reads refscanlog and, when the scanner has
// recorded new rows ("1"), resets the key and reloads the record list. Ends when its loop stops.
void qevRunScanWatcher(const WorkerLoop& loop);
