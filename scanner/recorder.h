#pragma once
#include <chrono>
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

// Inserts one fileinfo row per special entry. Rows are gathered in memory and written in one
// short transaction when ten have gathered (just before the refresh flag is raised, so the
// desktop program sees them when it reloads) or when the oldest has waited kMaxRowWait: the
// store's write lock is held only while writing, never while the walk goes on. The connection
// stays open from one batch of ten to the next and is closed once the rows stop coming.
class Recorder {
 public:
  // Raises the refresh flag (refscanlog = "1"); answers false when the program directory could
  // not be determined, so the raise is tried again after the next row.
  using FlagRaiser = std::function<bool()>;
  static constexpr std::uint32_t kRowsPerFlag = 10;
  static constexpr std::chrono::milliseconds kMaxRowWait{200};

  explicit Recorder(FlagRaiser raiseFlag);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // 1 when the row was built and taken for writing, 0 when it could not be built.
  int RecordEntry(const EntryDescription& entry);

  // Writes the gathered rows once the oldest has waited kMaxRowWait, and closes the connection
  // once no batch has come for as long. Cheap when nothing waits; the walk calls it at every
  // entry.
  void writeIfDue();

  // Writes every row gathered so far and closes the connection; rows the store finally refused
  // are written to the run log. Answers false when a row was lost.
  bool commit();

 private:
  struct PendingRow {
    std::string statement;
    std::string path;
  };

  RecordRow buildRow(const EntryDescription& entry);
  bool writeBatch(StoreBatchWriter::AfterCommit after);
  bool writeAlone(const PendingRow& row);
  void logLostRow(const std::string& path);

  FlagRaiser raiseFlag_;
  std::mutex lock_;
  std::uint32_t sequence_ = 0;
  std::uint32_t rowsSinceFlag_ = 0;
  // Every run records its rows anew, so a batch need not wait for the disk.
  StoreBatchWriter writer_{CommitDurability::Relaxed};
  // Rows not yet written, with the path to name when one is lost, and when the first came.
  std::vector<PendingRow> pending_;
  std::chrono::steady_clock::time_point firstPendingAt_;
  // Set while the connection is kept after a batch, with the time of that batch.
  bool connectionKept_ = false;
  std::chrono::steady_clock::time_point lastBatchAt_;
};

// The flag raiser of a real run: refscanlog = "1" in Sorrelscan.ini of the program directory.
bool RaiseRefreshFlag();
