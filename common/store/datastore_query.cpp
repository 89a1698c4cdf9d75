#include "common/store/datastore.h"
#include "common/store/datastore_connection.h"

bool StoreRow::text(const std::string& column, std::string& value) const {
  value.clear();
  const int count = sqlite3_column_count(statement_);
  for (int i = 0; i < count; ++i) {
    const char* name = sqlite3_column_name(statement_, i);
    if (name == nullptr || sqlite3_stricmp(name, column.c_str()) != 0) continue;
    const unsigned char* bytes = sqlite3_column_text(statement_, i);
    if (bytes != nullptr) {
      value.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(sqlite3_column_bytes(statement_, i)));
    }
    return true;
  }
  return false;
}

int qevQueryRows(const std::string& statement, const std::function<bool(const StoreRow&)>& onRow) {
  if (!onRow) return 0;
  sorrel::store::Connection connection;
  sorrel::store::Statement query;
  if (!connection.openStore() || !query.prepare(connection.handle(), statement)) return 0;
  const StoreRow row(query.handle());
  return sorrel::store::forEachRow(query, [&] { return onRow(row); });
}
