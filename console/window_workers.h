#pragma once
#include "console/worker_thread.h"

// The cleaning worker of the main window: serves cleaning requests with hooks that drive the
// window's progress bar, show messages on the window's thread and reload its record list.
void qevRunCleaningWorker(const WorkerContext& context);
