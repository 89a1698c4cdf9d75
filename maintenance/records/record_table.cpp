#include "maintenance/records/record_table.h"

#include "common/store/datastore.h"

void RecordTable::clearUsedFlags() {
  for (RecordRow& entry : entries_) entry.used = false;
}

RecordRow& RecordTable::entryAt(std::size_t index) {
  if (index >= entries_.size()) entries_.resize(index + 1);
  return entries_[index];
}

RecordTable& qevRecordTable() {
  static RecordTable table;
  return table;
}

namespace {

struct StoredColumns {
  std::string filename, filepath, filesize, filesize2, fileinfo, filetype, compactDatabase, filenameid;
};

bool readColumns(const StoreRow& row, StoredColumns& columns) {
  return row.text("filename", columns.filename) && row.text("filepath", columns.filepath) &&
         row.text("filesize", columns.filesize) && row.text("filesize2", columns.filesize2) &&
         row.text("fileinfo", columns.fileinfo) && row.text("filetype", columns.filetype) &&
         row.text("CompactDatabase", columns.compactDatabase) && row.text("filenameid", columns.filenameid);
}

void fillEntry(const StoredColumns& columns, RecordRow& entry) {
  entry.used = true;
  entry.name = qevRecordNameText(columns.filename);
  // A long path is an absolute path here: there is no prefix to remove from it.
  entry.path = qevRecordNameText(columns.filepath);
  entry.size = qevRecordSizeText(columns.filetype, columns.filesize);
  entry.state = columns.fileinfo;
  entry.kind = qevRecordKindText(columns.filetype);
  entry.recordId = columns.filenameid;
}

}  // namespace

int qevLoadRecordTable(const std::string& statement) {
  RecordTable& table = qevRecordTable();
  table.clearUsedFlags();
  std::size_t index = 0;
  bool complete = true;
  StoredColumns columns;
  const int answer = qevQueryRows(statement, [&](const StoreRow& row) {
    if (!readColumns(row, columns)) {
      complete = false;
      return false;
    }
    fillEntry(columns, table.entryAt(index));
    return ++index < kRecordTableSize;
  });
  return answer == 1 && complete ? 1 : 0;
}
