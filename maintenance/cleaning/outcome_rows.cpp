#include "maintenance/cleaning/outcome_rows.h"

#include "common/store/datastore.h"

namespace {

constexpr std::size_t kRowsPerWrite = 100;
constexpr auto kLongestWait = std::chrono::milliseconds(200);

}  // namespace

void OutcomeRows::record(const std::string& storedPath, const char* text) {
  if (pending_.empty()) firstPending_ = std::chrono::steady_clock::now();
  // The stored text is Base64 and holds no quote; it is quoted all the same.
  pending_.push_back(std::string("update fileinfo set CompactDatabase = '1', fileinfo = '") + text +
                     "' where filepath = '" + qevSqlQuote(storedPath) + "'");
  if (pending_.size() >= kRowsPerWrite || std::chrono::steady_clock::now() - firstPending_ >= kLongestWait) flush();
}

void OutcomeRows::flush() {
  if (pending_.empty()) return;
  // Relaxed: a write that a power loss undoes leaves the rows at '2' and the next pass records
  // their entries as no longer present, so waiting for the disk buys nothing here.
  qevExecuteSqlList(pending_, CommitDurability::Relaxed);
  pending_.clear();
}
