#pragma once
#include "common/threads/worker_loop.h"
#include "maintenance/cleaning/cleaning_pass.h"

// Body of the cleaning worker: drops a request left from an earlier run, then every 3 seconds
// runs a cleaning pass with the given hooks when one is requested, and resets the request and
// the cleaning-active flag after it. The hooks' isActive should also answer false once the loop
// stops, so a pass under way ends before its next entry.
void qevServeCleaningRequests(const WorkerLoop& loop, const CleaningPassHooks& hooks);
