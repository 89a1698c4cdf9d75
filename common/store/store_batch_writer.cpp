#include "common/store/store_batch_writer.h"

#include <memory>

#include "common/store/datastore_connection.h"

using sorrel::store::Connection;
using sorrel::store::Statement;

namespace {

// A batch never grows without bound when a caller commits rarely.
constexpr std::size_t kAutoCommitStatements = 1000;

bool exec(sqlite3* db, const char* text) { return sqlite3_exec(db, text, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool runOne(sqlite3* db, const std::string& text) {
  Statement statement;
  return statement.prepare(db, text) && statement.runToEnd() == SQLITE_DONE;
}

}  // namespace

struct StoreBatchWriter::State {
  CommitDurability durability = CommitDurability::Full;
  std::unique_ptr<Connection> connection;
  // Executed inside the open transaction, not yet committed.
  std::vector<std::string> pending;
  // Could not be recorded by an automatic commit; handed out by the next commit().
  std::vector<std::string> lost;

  sqlite3* db() const { return connection->handle(); }

  bool connect() {
    if (connection) return true;
    auto opened = std::make_unique<Connection>();
    if (!opened->openStore()) return false;
    if (durability == CommitDurability::Relaxed) {
      exec(opened->handle(), "pragma synchronous = normal");
    }
    connection = std::move(opened);
    return true;
  }

  bool inTransaction() const { return sqlite3_get_autocommit(db()) == 0; }

  // immediate: the write lock is taken up front, waiting up to the busy time-out.
  bool beginIfNeeded() { return inTransaction() || exec(db(), "begin immediate"); }

  // Records each pending statement on its own, so only the statements that fail by themselves
  // are reported.
  void recordOneByOne(std::vector<std::string>& failures) {
    if (inTransaction()) exec(db(), "rollback");
    for (const std::string& statement : pending) {
      if (!runOne(db(), statement)) failures.push_back(statement);
    }
    pending.clear();
  }

  void commitPending(std::vector<std::string>& failures) {
    if (pending.empty()) {
      if (inTransaction()) exec(db(), "commit");
      return;
    }
    if (inTransaction() && exec(db(), "commit")) {
      pending.clear();
      return;
    }
    recordOneByOne(failures);
  }
};

StoreBatchWriter::StoreBatchWriter(CommitDurability durability) : state_(new State) {
  state_->durability = durability;
}

StoreBatchWriter::~StoreBatchWriter() {
  commit(nullptr);
  delete state_;
}

int StoreBatchWriter::execute(const std::string& statement) {
  if (statement.empty() || statement.size() > sorrel::store::kMaxTextBytes) return 0;
  if (!state_->connect() || !state_->beginIfNeeded()) return 0;
  if (!runOne(state_->db(), statement)) {
    // Some errors (full disk, I/O) roll the whole transaction back: record the earlier ones again.
    if (!state_->inTransaction() && !state_->pending.empty()) state_->recordOneByOne(state_->lost);
    return 0;
  }
  state_->pending.push_back(statement);
  if (state_->pending.size() >= kAutoCommitStatements) state_->commitPending(state_->lost);
  return 1;
}

int StoreBatchWriter::commit(std::vector<std::string>* failed, AfterCommit after) {
  std::vector<std::string> failures = std::move(state_->lost);
  state_->lost.clear();
  if (state_->connection) {
    state_->commitPending(failures);
    // Closing the last connection of the store also writes its log back into the file and
    // waits for the disk, which is worth it only when no batch follows at once.
    if (after == AfterCommit::CloseConnection) state_->connection.reset();
  }
  if (failed != nullptr) failed->insert(failed->end(), failures.begin(), failures.end());
  return failures.empty() ? 1 : 0;
}
