#include "common/store/datastore.h"
#include "common/store/datastore_connection.h"

using sorrel::store::Connection;
using sorrel::store::Statement;
using sorrel::store::WriteTransaction;

namespace {

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

int qevExecuteSqlList(const std::vector<std::string>& statements, CommitDurability durability) {
  Connection connection;
  if (!connection.openStore()) return 0;
  if (durability == CommitDurability::Relaxed) {
    sqlite3_exec(connection.handle(), "pragma synchronous = normal", nullptr, nullptr, nullptr);
  }
  WriteTransaction transaction(connection.handle());
  if (!transaction.begun()) return 0;
  for (const std::string& entry : statements) {
    const std::string text = sorrel::store::trimBlanks(entry);
    if (text.empty() || text.size() > sorrel::store::kMaxTextBytes) continue;
    if (!runOne(connection.handle(), text)) return 0;
  }
  return transaction.commit() ? 1 : 0;
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
