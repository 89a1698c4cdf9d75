#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/store/store_batch_writer.h"
#include "scanner/entry_description.h"

// The values of one fileinfo row, in statement order.
struct RecordRow {
  std::string fid = "1";
  std::string regdate;
  std::string filenameid;
  std::string filename;
  std::string filepath;
  std::uint64_t filesize = 0;
  std::uint32_t filesize2 = 0;
  std::string compactDatabase = "0";
  std::string filechkval;
  std::string fileinfo;
  std::uint32_t filetype = 0;
};

// The insert statement of one row, exactly as the data store receives it.
std::string FormatInsertStatement(const RecordRow& row);

// Base64 of the UTF-16LE bytes of a name or path, or the error text for an empty one.
std::string StoredNameOrError(const std::u16string& wide);

// Inserts one fileinfo row per special entry. Rows go through one batch that is committed
// before every raise of the refresh flag, so the desktop program sees them when it reloads.
class Recorder {
 public:
  // Raises the refresh flag (refscanlog = "1"); answers false when the program directory could
  // not be determined, so the raise is tried again after the next row.
  using FlagRaiser = std::function<bool()>;
  static constexpr std::uint32_t kRowsPerFlag = 10;

  explicit Recorder(FlagRaiser raiseFlag);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // 1 when the insert was attempted, 0 when the row could not be built.
  int RecordEntry(const EntryDescription& entry);

  // Makes every row recorded so far visible; rows the store finally refused are written to the
  // run log. Answers false when a row was lost.
  bool commit();

 private:
  struct PendingRow {
    std::string statement;
    std::string path;
  };

  RecordRow buildRow(const EntryDescription& entry);
  void insert(const std::string& statement, const std::string& path);
  void logLostRow(const std::string& path);

  FlagRaiser raiseFlag_;
  std::mutex lock_;
  std::uint32_t sequence_ = 0;
  std::uint32_t rowsSinceFlag_ = 0;
  StoreBatchWriter writer_;
  // Statements executed since the last commit, with the path to name when one is lost.
  std::vector<PendingRow> pending_;
};

// The flag raiser of a real run: refscanlog = "1" in Sorrelscan.ini of the program directory.
bool RaiseRefreshFlag();
