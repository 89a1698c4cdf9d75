#pragma once
#include <functional>
#include <string>
#include <vector>

struct sqlite3_stmt;

// The data store config/FileInfo.dat (SQLite 3). Every operation opens its own connection
// (read-write, never create, 30 s busy time-out), runs one statement or one transaction and
// closes it. Statements are in the Access dialect ("select top N ..."), one statement per call.
// Read results: 1 a value found, 2 no usable value, 0 failure.

inline constexpr const char* kDataStoreFileName = "FileInfo.dat";

// 1 and <program directory>config/FileInfo.dat with the config directory present (created when
// missing); 0 after showing the operator message.
int qevGetDataStorePath(std::string& path);
// 1 and the text that names the store for a connection; 0 (empty) when the path failed.
int qevGetConnectionString(std::string& connection);

// 1 executed; 0 refused (empty, over-long, more than one statement) or failed.
int qevExecuteSql(const std::string& statement);
// How a commit reaches the disk. Full waits until the disk has it. Relaxed (the store keeps a
// write-ahead log) does not wait: a killed process loses nothing, a power loss may undo the last
// commits but never damages the store.
enum class CommitDurability { Full, Relaxed };
// Entries are trimmed; blank ones are skipped. 1 all executed and committed in one transaction;
// 0 nothing committed (the transaction is rolled back, no lock stays behind).
int qevExecuteSqlList(const std::vector<std::string>& statements,
                      CommitDurability durability = CommitDurability::Full);

// Reads take usable values of one column by name: not null, as text (numbers as decimal text),
// trimmed of blanks, 1..104,857,599 bytes (the fmlog lookup: 1..4095).
// qevReadColumnValues, qevReadFmlogValue and qevReadLatestValue format the key value into a
// quoted literal themselves, with its apostrophes doubled: callers pass the plain value. Table
// and column names must be plain names (letters, digits, "_"), else the read gives 0.

// The first usable value in the order the statement gives rows.
int qevReadFirstValue(const std::string& statement, const std::string& column, std::string& value);
// Every usable value of "select * from <table> where <key> = '<value>' order by id asc", values
// emptied first. Reading stops once rowLimit (1 or more) rows with a null or usable value were
// seen; empty and over-long values are passed over without counting. A failure part-way gives
// 0 and keeps the values already taken.
int qevReadColumnValues(const std::string& table, const std::string& keyColumn,
                        const std::string& keyValue, const std::string& column, int rowLimit,
                        std::vector<std::string>& values);
int qevReadFmlogValue(const std::string& keyColumn, const std::string& keyValue,
                      const std::string& column, std::string& value);
// The first usable value of the newest row ("order by <orderColumn> desc").
int qevReadLatestValue(const std::string& table, const std::string& keyColumn,
                       const std::string& keyValue, const std::string& orderColumn,
                       const std::string& column, std::string& value);
// 1 and the decoded full path of the row with that filenameid (1..1023 characters), else 0.
int qevGetRecordPath(const std::string& recordId, std::u16string& path);

// Doubles every "'" so a value from an operator, a file or the network can stand in a quoted
// literal.
std::string qevSqlQuote(const std::string& value);

// One row of a query result, valid only inside the callback of qevQueryRows.
class StoreRow {
 public:
  explicit StoreRow(sqlite3_stmt* statement) : statement_(statement) {}
  // The column's value as text, as stored (numbers as decimal text, not trimmed; null gives "").
  // False when the result has no column of that name (compared without regard to case).
  bool text(const std::string& column, std::string& value) const;

 private:
  sqlite3_stmt* statement_;
};

// Runs one query (Access dialect) on its own connection and hands every row, in order, to onRow
// until it answers false. 1 the query ran (with or without rows), 0 failure (rows handed over
// before a failure stay handed over).
int qevQueryRows(const std::string& statement, const std::function<bool(const StoreRow&)>& onRow);
