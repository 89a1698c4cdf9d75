#pragma once
#include "console/worker_thread.h"

// Body of the cleaning worker: drops a request left from an earlier run, then every 3 seconds
// runs a cleaning pass when one is requested, and resets the request and the cleaning-active
// flag after it. A pass under way ends before its next entry when the window closes.
void qevRunCleaningWorker(const WorkerContext& context);
