#pragma once
#include <string>
#include <vector>

#include "common/store/datastore.h"

// The scanner's recording path: many inserts through one connection, grouped in transactions,
// so a large scan is not bound by one connection and one commit per row. What other programs
// see is unchanged once commit() has answered 1: every statement executed before it is visible.
class StoreBatchWriter {
 public:
  explicit StoreBatchWriter(CommitDurability durability = CommitDurability::Full);
  ~StoreBatchWriter();  // commits what is pending
  StoreBatchWriter(const StoreBatchWriter&) = delete;
  StoreBatchWriter& operator=(const StoreBatchWriter&) = delete;

  // Executes one statement (one statement only) inside the open batch. 1 accepted, 0 refused
  // or failed (the batch goes on without it). A batch of 1,000 statements is committed by
  // itself, so an uncommitted batch stays bounded.
  int execute(const std::string& statement);

  // Commits every statement accepted so far. 1 committed and visible to other connections,
  // 0 failed; statements that could not be recorded are appended to failed (when given). When
  // the batch as a whole fails, each statement is recorded again on its own, so only the ones
  // that fail by themselves are lost. The connection is closed until the next execute, unless
  // the caller keeps it for a batch that follows at once (it holds no lock between batches).
  enum class AfterCommit { CloseConnection, KeepConnection };
  int commit(std::vector<std::string>* failed = nullptr, AfterCommit after = AfterCommit::CloseConnection);

 private:
  struct State;
  State* state_;
};
