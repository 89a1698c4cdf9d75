#pragma once
#include <sqlite3.h>

#include <functional>
#include <string>

// Building blocks shared by the data store operations: one connection per operation, one
// statement per call, values converted and bounded the same way everywhere.
namespace sorrel::store {

inline constexpr int kBusyTimeoutMilliseconds = 30000;
// Tests that meet a held write lock on purpose wait this long instead (0 restores the default).
void setBusyTimeoutForTesting(int milliseconds);
// Statements and values are texts of at most 104,857,599 bytes.
inline constexpr std::size_t kMaxTextBytes = 104857599;

// A connection to the store, closed when the object goes away.
class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Opens the file read-write with the busy time-out; a missing file is a failure and is never
  // created. False also for a file that is not a database.
  bool open(const std::string& path);
  // Opens the store named by the connection string (the path messages are shown on failure).
  bool openStore();
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// A prepared statement, finalized when the object goes away.
class Statement {
 public:
  Statement() = default;
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Translates the Access dialect and prepares exactly one statement: empty text, text of more
  // than kMaxTextBytes, and text that goes on after the first statement (other than blanks and
  // ";") are refused as a whole.
  bool prepare(sqlite3* db, const std::string& accessText);
  sqlite3_stmt* handle() const { return stmt_; }
  // Runs the statement to its end, passing over any rows. SQLITE_DONE when it succeeded.
  int runToEnd();
  // Index of a result column by name, without regard to case; -1 when there is none.
  int columnIndex(const std::string& name) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// One write transaction on a connection. It begins immediate, so the write lock is taken
// (waiting up to the busy time-out) before any work and the work never fails half-way for want
// of it; it is rolled back unless commit() succeeded, so no half list and no lock remain.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;

  bool begun() const { return begun_; }
  bool commit();

 private:
  sqlite3* db_;
  bool begun_ = false;
};

// Steps a prepared query and calls onRow at every row, in order (the query's handle stands on
// it), until onRow answers false.
// 1 the query ran to its end or was left by onRow, 0 a step failed.
int forEachRow(Statement& query, const std::function<bool()>& onRow);

enum class ValueKind { Null, Usable, Unusable };

// The value of a column of the current row: null is Null; anything else becomes text (numbers
// as decimal text), trimmed of blanks on both sides, and is Usable with 1..maxBytes bytes.
ValueKind readValue(sqlite3_stmt* stmt, int column, std::size_t maxBytes, std::string& value);

std::string trimBlanks(const std::string& text);

// True for a plain table or column name (letters, digits, "_", not starting with a digit), the
// only shape that may be formatted into a statement as a name.
bool isPlainName(const std::string& name);

}  // namespace sorrel::store
