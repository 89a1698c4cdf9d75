#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/store/datastore.h"

// Statements whose values are bound to their "?" placeholders instead of being formatted into the
// text: a value may hold any bytes (apostrophes, quotes, zero bytes) up to 104,857,599 of them and
// always stays one value. Values are bound as text; a numeric column converts a number text as
// it stores it, and compares it as a number. Every call opens its own connection and closes it;
// statements are in the Access dialect, one statement per text.

// Runs one statement with exactly one value per placeholder. 1 executed, 0 refused or failed.
int qevExecuteBound(const std::string& statement, const std::vector<std::string>& values);

// Runs one query with exactly one value per placeholder and hands every row, in order, to onRow
// until it answers false. 1 the query ran (with or without rows), 0 refused or failed.
int qevQueryBound(const std::string& statement, const std::vector<std::string>& values,
                  const std::function<bool(const StoreRow&)>& onRow);

// The values of one run of a statement: fills values (one per placeholder; the views must stay
// valid until the next call) and answers true, or answers false when no run is left.
using BoundRuns = std::function<bool(std::vector<std::string_view>& values)>;

// One statement of a batch, prepared once and run once for every set of values its runs give.
struct BoundStep {
  std::string statement;
  BoundRuns runs;
};

// A step that runs its statement once with these values (they must outlive the batch).
BoundRuns qevRunOnce(const std::vector<std::string>& values);

// Runs the steps in order inside one transaction, which takes the write lock first (waiting for
// other writers up to the busy time-out) so it never fails half-way for want of it. 1 committed;
// 0 refused or failed, and then nothing of the batch stays in the store.
int qevExecuteBoundBatch(const std::vector<BoundStep>& steps);
