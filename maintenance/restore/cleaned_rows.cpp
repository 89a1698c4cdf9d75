#include "maintenance/restore/cleaned_rows.h"

#include <algorithm>

#include "common/files/paths.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"

namespace {

bool decodedPath(const std::string& stored, std::string& path) {
  std::u16string wide;
  if (!qevDecodeStoredName(stored, wide) || qevWideToAnsi(wide, path) != 1) return false;
  path = qevCollapseSeparators(path);
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return !path.empty() && path.front() == '/';
}

bool isDecimal(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool CleanedRows::load() {
  rows_.clear();
  const int answer = qevQueryRows("select id, filepath, fileinfo from fileinfo where CompactDatabase = '1'",
                                  [this](const StoreRow& stored) {
                                    Row row;
                                    std::string filepath;
                                    if (stored.text("id", row.id) && stored.text("filepath", filepath) &&
                                        stored.text("fileinfo", row.state) && isDecimal(row.id) &&
                                        decodedPath(filepath, row.path)) {
                                      rows_.push_back(std::move(row));
                                    }
                                    return true;
                                  });
  std::sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.path < b.path; });
  return answer == 1;
}

std::vector<CleanedRows::Row> CleanedRows::rowsAt(const std::string& place, bool below) const {
  // Sorted by bytes, the place and everything below it ("place/...") lie in two runs: the
  // place itself, then the paths that start with "place/".
  std::vector<Row> found;
  const auto byPath = [](const Row& row, const std::string& path) { return row.path < path; };
  for (auto it = std::lower_bound(rows_.begin(), rows_.end(), place, byPath); it != rows_.end() && it->path == place;
       ++it) {
    found.push_back(*it);
  }
  if (!below) return found;
  const std::string prefix = place == "/" ? place : place + "/";
  for (auto it = std::lower_bound(rows_.begin(), rows_.end(), prefix, byPath);
       it != rows_.end() && it->path.compare(0, prefix.size(), prefix) == 0; ++it) {
    found.push_back(*it);
  }
  return found;
}

std::vector<std::vector<CleanedRows::Row>> CleanedRows::resetAt(const std::vector<std::string>& places, bool below) {
  std::vector<std::vector<Row>> rows;
  std::vector<std::string> statements;
  for (const std::string& place : places) {
    rows.push_back(rowsAt(place, below));
    for (const Row& row : rows.back()) {
      statements.push_back(std::string("update fileinfo set CompactDatabase = '0', fileinfo = '") + kNotHandledText +
                           "' where id = " + row.id + " and CompactDatabase = '1'");
    }
  }
  if (!statements.empty() && qevExecuteSqlList(statements) != 1) return std::vector<std::vector<Row>>(places.size());
  return rows;
}

void CleanedRows::undo(const std::vector<Row>& rows) {
  std::vector<std::string> statements;
  statements.reserve(rows.size());
  for (const Row& row : rows) {
    statements.push_back("update fileinfo set CompactDatabase = '1', fileinfo = '" + qevSqlQuote(row.state) +
                         "' where id = " + row.id + " and CompactDatabase = '0'");
  }
  if (!statements.empty()) qevExecuteSqlList(statements);
}
