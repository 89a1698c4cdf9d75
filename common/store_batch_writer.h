#pragma once
#include <string>
#include <vector>

// The scanner's recording path: many inserts through one connection, grouped in transactions,
// so a large scan is not bound by one connection and one commit per row. What other programs
// see is unchanged once commit() has answered 1: every statement executed before it is visible.
class StoreBatchWriter {
 public:
  StoreBatchWriter();
  ~StoreBatchWriter();  // commits what is pending
  StoreBatchWriter(const StoreBatchWriter&) = delete;
  StoreBatchWriter& operator=(const StoreBatchWriter&) = delete;

  // Executes one statement (one statement only) inside the open batch. 1 accepted, 0 refused
  // or failed.
  int execute(const std::string& statement);

  // Commits every statement accepted so far. 1 committed and visible to other connections,
  // 0 failed; statements that could not be recorded are appended to failed (when given).
  int commit(std::vector<std::string>* failed = nullptr);

 private:
  struct State;
  State* state_;
};
