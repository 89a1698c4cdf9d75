#include "common/store/datastore.h"
#include "common/store/datastore_connection.h"

using sorrel::store::Connection;
using sorrel::store::Statement;

namespace {

// Undoes an open transaction before the connection closes, so no lock and no half list remain.
void rollBack(sqlite3* db) {
  if (sqlite3_get_autocommit(db) == 0) sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
}

bool runOne(sqlite3* db, const std::string& text) {
  Statement statement;
  return statement.prepare(db, text) && statement.runToEnd() == SQLITE_DONE;
}

}  // namespace

int qevExecuteSql(const std::string& statement) {
  if (statement.empty() || statement.size() > sorrel::store::kMaxTextBytes) return 0;
  Connection connection;
  if (!connection.openStore()) return 0;
  return runOne(connection.handle(), statement) ? 1 : 0;
}

int qevExecuteSqlList(const std::vector<std::string>& statements) {
  Connection connection;
  if (!connection.openStore()) return 0;
  sqlite3* db = connection.handle();
  // immediate: the write lock is taken (waiting for the busy time-out) before any work, so a
  // list never fails half-way because another writer came first.
  if (sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) != SQLITE_OK) return 0;
  for (const std::string& entry : statements) {
    const std::string text = sorrel::store::trimBlanks(entry);
    if (text.empty() || text.size() > sorrel::store::kMaxTextBytes) continue;
    if (!runOne(db, text)) {
      rollBack(db);
      return 0;
    }
  }
  if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) {
    rollBack(db);
    return 0;
  }
  return 1;
}

std::string qevSqlQuote(const std::string& value) {
  std::string quoted;
  quoted.reserve(value.size() + 8);
  for (const char c : value) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted;
}
