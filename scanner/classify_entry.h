#pragma once
#include "scanner/entry_description.h"
#include "scanner/scan_session.h"

// Counts the entry, prints its progress line and, when its name is special, counts it as special
// and hands it to the recorder. 1 special, 0 not.
int ClassifyEntry(ScanSession& session, const EntryDescription& entry);
