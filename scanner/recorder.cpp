#include "scanner/recorder.h"

#include <algorithm>
#include <cinttypes>
#include <ctime>
#include <utility>

#include "common/files/run_log.h"
#include "common/files/settings.h"
#include "common/platform/console.h"
#include "common/platform/system.h"
#include "common/text/check_value.h"
#include "common/text/stored_name.h"
#include "scanner/console_texts.h"

namespace {

// A busy store is waited for by the batch itself (busy time-out).
constexpr int kInsertAttempts = 3;
constexpr int kRetryPauseMilliseconds = 100;

std::string timeText(const std::tm& parts, const char* format) {
  char text[64] = {};
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

}  // namespace

std::string FormatInsertStatement(const RecordRow& row) {
  std::string statement =
      "insert into fileinfo(fid,regdate,filenameid,filename,filepath,filesize,filesize2,"
      "CompactDatabase,filechkval,fileinfo,filetype) values ('";
  statement.reserve(statement.size() + row.filename.size() + row.filepath.size() + 256);
  statement += row.fid + "', '" + row.regdate + "', '" + row.filenameid + "', '" + row.filename +
               "', '" + row.filepath + "', " + std::to_string(row.filesize) + ", " +
               std::to_string(row.filesize2) + ", '" + row.compactDatabase + "', '" +
               row.filechkval + "', '" + row.fileinfo + "'," + std::to_string(row.filetype) + ")";
  return statement;
}

std::string StoredNameOrError(const std::u16string& wide) {
  if (wide.empty()) return scanner_text::kNameReadError;
  return qevEncodeStoredName(wide);
}

bool RaiseRefreshFlag() {
  if (qevSettingsPath().empty()) return false;
  // A failed write is not reported: the next raise or the end of the run writes it again.
  qevWriteSetting(scanner_text::kRefreshFlagKey, "1");
  return true;
}

Recorder::Recorder(FlagRaiser raiseFlag) : raiseFlag_(std::move(raiseFlag)) {}

Recorder::~Recorder() { commit(); }

RecordRow Recorder::buildRow(const EntryDescription& entry) {
  RecordRow row;
  row.filepath = StoredNameOrError(entry.widePath());
  row.filename = StoredNameOrError(entry.name);
  std::uint32_t sequence = 0;
  {
    std::lock_guard guard(lock_);
    sequence = sequence_++;
  }
  // One reading for both columns, so a row recorded at midnight has one date in both.
  const std::tm now = sorrel::platform::localTimeNow();
  row.filenameid = std::to_string(sequence) + "_" + timeText(now, "%Y%m%d%H%M%S") + "_" +
                   std::to_string(sorrel::platform::tickCountMilliseconds());
  row.regdate = timeText(now, "%Y-%m-%d");
  if (qevTextCheckValue(row.filepath, kCheckName, row.filechkval) != 1) row.filechkval.clear();
  row.filesize = entry.kind == EntryDescription::kDirectory ? 0 : entry.size;
  row.fileinfo = scanner_text::kNotHandled;
  row.filetype = static_cast<std::uint32_t>(entry.kind);
  return row;
}

int Recorder::RecordEntry(const EntryDescription& entry) {
  if (entry.kind != EntryDescription::kFile && entry.kind != EntryDescription::kDirectory) return 0;
  const RecordRow row = buildRow(entry);
  if (pending_.empty()) firstPendingAt_ = std::chrono::steady_clock::now();
  pending_.push_back({FormatInsertStatement(row), entry.ansiPath});
  bool raise = false;
  {
    std::lock_guard guard(lock_);
    raise = ++rowsSinceFlag_ >= kRowsPerFlag;
  }
  if (raise) {
    writeBatch(StoreBatchWriter::AfterCommit::KeepConnection);
    connectionKept_ = true;
    lastBatchAt_ = std::chrono::steady_clock::now();
    if (raiseFlag_ && raiseFlag_()) {
      std::lock_guard guard(lock_);
      rowsSinceFlag_ = 0;
    }
  }
  return 1;
}

void Recorder::writeIfDue() {
  if (pending_.empty() && !connectionKept_) return;
  const auto now = std::chrono::steady_clock::now();
  if (pending_.empty() ? now - lastBatchAt_ >= kMaxRowWait : now - firstPendingAt_ >= kMaxRowWait) {
    commit();
  }
}

bool Recorder::commit() {
  const bool written = writeBatch(StoreBatchWriter::AfterCommit::CloseConnection);
  connectionKept_ = false;
  return written;
}

bool Recorder::writeBatch(StoreBatchWriter::AfterCommit after) {
  if (pending_.empty()) {
    if (after == StoreBatchWriter::AfterCommit::CloseConnection) writer_.commit();
    return true;
  }
  const std::vector<PendingRow> rows = std::exchange(pending_, {});
  std::vector<const PendingRow*> again;
  for (const PendingRow& row : rows) {
    if (writer_.execute(row.statement) != 1) again.push_back(&row);
  }
  std::vector<std::string> failed;
  writer_.commit(&failed, after);
  for (const std::string& statement : failed) {
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const PendingRow& pending) { return pending.statement == statement; });
    if (row != rows.end()) again.push_back(&*row);
  }
  bool allWritten = true;
  for (const PendingRow* row : again) allWritten = writeAlone(*row) && allWritten;
  return allWritten;
}

// A row the batch could not write is tried again on its own, each time on a fresh connection
// after a short pause, before it is given up.
bool Recorder::writeAlone(const PendingRow& row) {
  for (int attempt = 1;; ++attempt) {
    const bool executed = writer_.execute(row.statement) == 1;
    if (writer_.commit() == 1 && executed) return true;
    if (attempt == kInsertAttempts) break;
    sorrel::platform::sleepMilliseconds(kRetryPauseMilliseconds);
  }
  logLostRow(row.path);
  return false;
}

void Recorder::logLostRow(const std::string& path) {
  qevWriteRunLog(std::string(scanner_text::kRowNotRecorded) + path, "", kScannerRunLog, kRunLogLimit);
}
