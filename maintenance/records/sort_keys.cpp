#include "maintenance/records/sort_keys.h"

void SortKeys::reset() { keys_ = {Key{"filetype", "asc"}, Key{"filename", "asc"}, Key{"filename", "asc"}}; }

void SortKeys::clickHeader(int column) {
  keys_[0].direction = keys_[0].direction == "asc" ? "desc" : "asc";
  keys_[0].column = columnOf(column);
}

std::string SortKeys::columnOf(int listColumn) {
  switch (listColumn) {
    case 1: return "filename";
    case 2: return "filetype";
    case 3: return "filesize";
    case 4: return "filetime";
    case 5: return "fileinfo";
    default: return "filepath";
  }
}

std::string SortKeys::listQuery() const {
  std::string query = "select top " + std::to_string(kRecordListRows) + " * from fileinfo order by ";
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (i > 0) query += ", ";
    query += keys_[i].column + " " + keys_[i].direction;
  }
  return query;
}

SortKeys& qevSortKeys() {
  static SortKeys keys;
  return keys;
}
