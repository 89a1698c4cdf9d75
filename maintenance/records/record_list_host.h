#pragma once
#include <functional>
#include <vector>

#include "maintenance/records/record_row.h"

// What the list query needs from the window that shows the record list. The main window
// registers itself while it exists.
class RecordListHost {
 public:
  virtual ~RecordListHost() = default;
  virtual void setRangeButtonsEnabled(bool enabled) = 0;
  // Fills the four filter lists on the first call only.
  virtual void fillFilterListsOnce() = 0;
  // Replaces every row of the record list (check marks are lost).
  virtual void showRecordRows(std::vector<RecordRow> usedEntries) = 0;
  // Runs work on the window's thread, one at a time, and waits for it; false when the window
  // closed before it could run.
  virtual bool runOnWindowThread(const std::function<void()>& work) = 0;
  virtual bool onWindowThread() const = 0;
};

void qevSetRecordListHost(RecordListHost* host);
RecordListHost* qevRecordListHost();
