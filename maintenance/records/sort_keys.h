#pragma once
#include <array>
#include <string>

// The most rows the record list loads; a cleaning pass takes as many, so every row the operator
// can check is cleaned.
inline constexpr int kRecordListRows = 10000;

// The three (column, direction) pairs of every list query, in order. Only the first pair
// changes, on a header click.
class SortKeys {
 public:
  struct Key {
    std::string column;
    std::string direction;
  };

  SortKeys() { reset(); }
  // (filetype, asc), (filename, asc), (filename, asc).
  void reset();
  // A header click on list column c: the first direction toggles whatever column was clicked
  // ("asc" -> "desc", anything else -> "asc"), and the first column follows c.
  void clickHeader(int column);
  const Key& key(int index) const { return keys_[static_cast<std::size_t>(index)]; }
  // "select top 10000 * from fileinfo order by <c1> <d1>, <c2> <d2>, <c3> <d3>"
  std::string listQuery() const;

  // The data store column behind list column c (0, 6, 7 and any other: filepath).
  static std::string columnOf(int listColumn);

 private:
  std::array<Key, 3> keys_;
};

SortKeys& qevSortKeys();
