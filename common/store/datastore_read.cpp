#include "common/store/datastore.h"
#include "common/store/datastore_connection.h"

using sorrel::store::Connection;
using sorrel::store::Statement;
using sorrel::store::ValueKind;

namespace {

constexpr std::size_t kFmlogMaxBytes = 4095;

bool plainNames(std::initializer_list<const std::string*> names) {
  for (const std::string* name : names) {
    if (!sorrel::store::isPlainName(*name)) return false;
  }
  return true;
}

// "select * from <table> where <key> = '<value>'" with the value's apostrophes doubled.
std::string keyedSelect(const std::string& table, const std::string& keyColumn, const std::string& keyValue) {
  return "select * from " + table + " where " + keyColumn + " = '" + qevSqlQuote(keyValue) + "'";
}

// The first usable value of the column, in the order the statement gives rows: 1 found,
// 2 none, 0 failure.
int readFirstUsable(const std::string& statement, const std::string& column, std::size_t maxBytes,
                    std::string& value) {
  value.clear();
  if (statement.empty() || statement.size() > sorrel::store::kMaxTextBytes || column.empty()) return 0;
  Connection connection;
  Statement query;
  if (!connection.openStore() || !query.prepare(connection.handle(), statement)) return 0;
  const int index = query.columnIndex(column);
  if (index < 0) return 0;
  for (;;) {
    const int rc = sqlite3_step(query.handle());
    if (rc == SQLITE_DONE) return 2;
    if (rc != SQLITE_ROW) return 0;
    std::string candidate;
    if (sorrel::store::readValue(query.handle(), index, maxBytes, candidate) == ValueKind::Usable) {
      value = std::move(candidate);
      return 1;
    }
  }
}

}  // namespace

int qevReadFirstValue(const std::string& statement, const std::string& column, std::string& value) {
  return readFirstUsable(statement, column, sorrel::store::kMaxTextBytes, value);
}

int qevReadColumnValues(const std::string& table, const std::string& keyColumn, const std::string& keyValue,
                        const std::string& column, int rowLimit, std::vector<std::string>& values) {
  values.clear();
  if (!plainNames({&table, &keyColumn, &column}) || rowLimit < 1 ||
      keyValue.size() > sorrel::store::kMaxTextBytes) {
    return 0;
  }
  Connection connection;
  Statement query;
  if (!connection.openStore() ||
      !query.prepare(connection.handle(), keyedSelect(table, keyColumn, keyValue) + " order by id asc")) {
    return 0;
  }
  const int index = query.columnIndex(column);
  if (index < 0) return 0;
  // Rows with a null or a usable value count against the limit; empty and over-long values are
  // passed over without counting.
  int examined = 0;
  while (examined < rowLimit) {
    const int rc = sqlite3_step(query.handle());
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) return 0;  // values collected so far stay
    std::string value;
    const ValueKind kind = sorrel::store::readValue(query.handle(), index, sorrel::store::kMaxTextBytes, value);
    if (kind == ValueKind::Unusable) continue;
    ++examined;
    if (kind == ValueKind::Usable) values.push_back(std::move(value));
  }
  return values.empty() ? 2 : 1;
}

int qevReadFmlogValue(const std::string& keyColumn, const std::string& keyValue, const std::string& column,
                      std::string& value) {
  value.clear();
  if (!plainNames({&keyColumn, &column})) return 0;
  return readFirstUsable(keyedSelect("fmlog", keyColumn, keyValue), column, kFmlogMaxBytes, value);
}

int qevReadLatestValue(const std::string& table, const std::string& keyColumn, const std::string& keyValue,
                       const std::string& orderColumn, const std::string& column, std::string& value) {
  value.clear();
  if (!plainNames({&table, &keyColumn, &orderColumn, &column})) return 0;
  return readFirstUsable(keyedSelect(table, keyColumn, keyValue) + " order by " + orderColumn + " desc", column,
                         sorrel::store::kMaxTextBytes, value);
}
