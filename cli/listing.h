#pragma once
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/subcommand.h"
#include "cli/terminal.h"

inline constexpr const char* kStoreFailedMessage = "读取数据库时发生错误，请重试！";

// The listing subcommands (list, logs): no operands; the rows read from the data store, a
// failure being one line on standard error (exit 1); printed as text, or with --json as JSON.
template <typename Row>
int qevRunListing(const ParsedOptions& options, Terminal& terminal, int (*load)(std::vector<Row>& rows),
                  void (*printText)(Terminal&, const std::vector<Row>&),
                  void (*printJson)(Terminal&, const std::vector<Row>&)) {
  if (!options.operands.empty()) return qevUsageError(terminal, "unexpected argument '" + options.operands[0] + "'");
  std::vector<Row> rows;
  if (load(rows) != 1) return terminal.failOnce(kStoreFailedMessage);
  (options.has("json") ? printJson : printText)(terminal, rows);
  return kExitSuccess;
}
