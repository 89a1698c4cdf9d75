#include "common/store/datastore_connection.h"

#include <atomic>
#include <cctype>

#include "common/store/access_dialect.h"
#include "common/store/datastore.h"

namespace sorrel::store {

namespace {

std::atomic<int> busyTimeoutOverride{0};

int busyTimeoutMilliseconds() {
  const int override = busyTimeoutOverride.load();
  return override > 0 ? override : kBusyTimeoutMilliseconds;
}

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool equalsIgnoringCase(const char* a, const std::string& b) {
  std::size_t i = 0;
  for (; a[i] != '\0'; ++i) {
    if (i >= b.size()) return false;
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == b.size();
}

// Only blanks and statement separators may follow the one statement of a call, up to the real
// end of the text (a zero byte would otherwise hide what comes after it).
bool onlySeparatorsFollow(const char* tail, const char* end) {
  if (tail == nullptr) return false;
  for (; tail < end; ++tail) {
    if (!isBlank(*tail) && *tail != ';') return false;
  }
  return true;
}

}  // namespace

void setBusyTimeoutForTesting(int milliseconds) { busyTimeoutOverride.store(milliseconds); }

Connection::~Connection() {
  // close_v2 so that a statement somebody forgot still cannot keep the file open for good.
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

bool Connection::open(const std::string& path) {
  if (db_ != nullptr || path.empty()) return false;
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_busy_timeout(db_, busyTimeoutMilliseconds());
  // Reading the schema now tells a file that is not a database from a store, before any work.
  if (sqlite3_exec(db_, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return false;
  }
  return true;
}

bool Connection::openStore() {
  std::string connection;
  if (qevGetConnectionString(connection) != 1) return false;
  return open(connection);
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::prepare(sqlite3* db, const std::string& accessText) {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  if (db == nullptr || accessText.empty() || accessText.size() > kMaxTextBytes) return false;
  const std::string text = qevTranslateAccessDialect(accessText);
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &stmt_, &tail) != SQLITE_OK ||
      stmt_ == nullptr || !onlySeparatorsFollow(tail, text.data() + text.size())) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    return false;
  }
  return true;
}

int Statement::runToEnd() {
  if (stmt_ == nullptr) return SQLITE_MISUSE;
  int rc = SQLITE_ROW;
  while (rc == SQLITE_ROW) rc = sqlite3_step(stmt_);
  return rc;
}

int Statement::columnIndex(const std::string& name) const {
  if (stmt_ == nullptr) return -1;
  const int count = sqlite3_column_count(stmt_);
  for (int i = 0; i < count; ++i) {
    const char* columnName = sqlite3_column_name(stmt_, i);
    if (columnName != nullptr && equalsIgnoringCase(columnName, name)) return i;
  }
  return -1;
}

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db) {
  begun_ = db_ != nullptr && sqlite3_exec(db_, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK;
}

WriteTransaction::~WriteTransaction() {
  if (begun_ && sqlite3_get_autocommit(db_) == 0) sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
}

bool WriteTransaction::commit() {
  if (!begun_ || sqlite3_exec(db_, "commit", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
  begun_ = false;
  return true;
}

int forEachRow(Statement& query, const std::function<bool()>& onRow) {
  for (;;) {
    const int rc = sqlite3_step(query.handle());
    if (rc == SQLITE_DONE) return 1;
    if (rc != SQLITE_ROW) return 0;
    if (!onRow()) return 1;
  }
}

std::string trimBlanks(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

ValueKind readValue(sqlite3_stmt* stmt, int column, std::size_t maxBytes, std::string& value) {
  value.clear();
  if (sqlite3_column_type(stmt, column) == SQLITE_NULL) return ValueKind::Null;
  // column_text gives numbers as their decimal text; bytes must be asked for after it.
  const unsigned char* text = sqlite3_column_text(stmt, column);
  const int bytes = sqlite3_column_bytes(stmt, column);
  if (text == nullptr || bytes <= 0) return ValueKind::Unusable;
  value = trimBlanks(std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)));
  if (value.empty() || value.size() > maxBytes) {
    value.clear();
    return ValueKind::Unusable;
  }
  return ValueKind::Usable;
}

bool isPlainName(const std::string& name) {
  if (name.empty() || name.size() > 128 || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

}  // namespace sorrel::store
