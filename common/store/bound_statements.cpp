#include "common/store/bound_statements.h"

#include "common/store/datastore_connection.h"

using sorrel::store::Connection;
using sorrel::store::Statement;
using sorrel::store::WriteTransaction;

namespace {

bool bindText(sqlite3_stmt* statement, int index, std::string_view value) {
  if (value.size() > sorrel::store::kMaxTextBytes) return false;
  // A null pointer would bind NULL instead of an empty text. SQLITE_STATIC: the caller keeps the
  // bytes alive until the statement has run.
  const char* bytes = value.data() == nullptr ? "" : value.data();
  return sqlite3_bind_text(statement, index, bytes, static_cast<int>(value.size()), SQLITE_STATIC) == SQLITE_OK;
}

// Binds one run's values; their count must match the placeholders exactly.
bool bindAll(sqlite3_stmt* statement, const std::vector<std::string_view>& values) {
  if (sqlite3_reset(statement) != SQLITE_OK) return false;
  if (static_cast<std::size_t>(sqlite3_bind_parameter_count(statement)) != values.size()) return false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!bindText(statement, static_cast<int>(i + 1), values[i])) return false;
  }
  return true;
}

std::vector<std::string_view> viewsOf(const std::vector<std::string>& values) {
  return std::vector<std::string_view>(values.begin(), values.end());
}

bool prepareBound(const Connection& connection, Statement& statement, const std::string& text,
                  const std::vector<std::string>& values) {
  return statement.prepare(connection.handle(), text) && bindAll(statement.handle(), viewsOf(values));
}

bool runStep(sqlite3* db, const BoundStep& step) {
  if (!step.runs) return false;
  Statement statement;
  if (!statement.prepare(db, step.statement)) return false;
  std::vector<std::string_view> values;
  for (;;) {
    values.clear();
    if (!step.runs(values)) return true;
    if (!bindAll(statement.handle(), values) || statement.runToEnd() != SQLITE_DONE) return false;
  }
}

}  // namespace

int qevExecuteBound(const std::string& statement, const std::vector<std::string>& values) {
  Connection connection;
  Statement prepared;
  if (!connection.openStore() || !prepareBound(connection, prepared, statement, values)) return 0;
  return prepared.runToEnd() == SQLITE_DONE ? 1 : 0;
}

int qevQueryBound(const std::string& statement, const std::vector<std::string>& values,
                  const std::function<bool(const StoreRow&)>& onRow) {
  if (!onRow) return 0;
  Connection connection;
  Statement query;
  if (!connection.openStore() || !prepareBound(connection, query, statement, values)) return 0;
  const StoreRow row(query.handle());
  return sorrel::store::forEachRow(query, [&] { return onRow(row); });
}

BoundRuns qevRunOnce(const std::vector<std::string>& values) {
  return [&values, done = false](std::vector<std::string_view>& views) mutable {
    if (done) return false;
    done = true;
    views.assign(values.begin(), values.end());
    return true;
  };
}

int qevExecuteBoundBatch(const std::vector<BoundStep>& steps) {
  Connection connection;
  if (!connection.openStore()) return 0;
  WriteTransaction transaction(connection.handle());
  if (!transaction.begun()) return 0;
  for (const BoundStep& step : steps) {
    if (!runStep(connection.handle(), step)) return 0;
  }
  return transaction.commit() ? 1 : 0;
}
