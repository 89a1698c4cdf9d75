#pragma once
#include "common/threads/guarded_value.h"

// The settings keys that carry work between the scanner, the window's commands and its workers.
inline constexpr const char* kRefreshRecordsKey = "refscanlog";  // "1": the scanner recorded new rows
inline constexpr const char* kCleaningRequestKey = "CompactDatabase";  // "1": a cleaning pass is requested

// The cleaning-active flag (0 or 1) behind the cleaning lock. 1 while a pass is requested or
// running; the pass reads it before every entry, so clearing it stops the pass.
GuardedValue<int>& qevCleaningActive();

// How many cleanings the clean command has raised in this process. The worker compares it before
// and after a pass, so a cleaning confirmed while a pass runs is not dropped with the pass's end.
GuardedValue<unsigned>& qevCleaningRequestsRaised();

// Raises the cleaning request for the worker, for rows already marked '2': counts it, writes
// the request key "1", then sets the cleaning-active flag.
void qevRaiseCleaningRequest();
