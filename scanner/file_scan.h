#pragma once
#include "scanner/scan_session.h"

// The file scan of one run: the reserved-name tables, the scan list and its roots, the walk of
// every root, the summary and the final raise of the refresh flag.
void RunFileScan(ScanSession& session);
