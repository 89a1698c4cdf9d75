#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "maintenance/records/record_row.h"

inline constexpr std::size_t kRecordTableSize = 99999;

// The process-wide record table: filled by the loader, shown by the list filler. Entries are
// created as loads need them, up to 99,999; an entry keeps its texts when its used flag is
// cleared. Used only on the window's thread.
class RecordTable {
 public:
  std::vector<RecordRow>& entries() { return entries_; }
  const std::vector<RecordRow>& entries() const { return entries_; }
  void clearUsedFlags();
  // The entry at index (0..99,998), created when missing.
  RecordRow& entryAt(std::size_t index);

 private:
  std::vector<RecordRow> entries_;
};

RecordTable& qevRecordTable();

// Runs the statement and fills the record table from its rows: 1 loaded (also with no rows),
// 0 failure (silent; the used flags are already cleared by then). Every row must have the columns
// filename, filepath, filesize, filesize2, fileinfo, filetype, CompactDatabase and filenameid.
int qevLoadRecordTable(const std::string& statement);
