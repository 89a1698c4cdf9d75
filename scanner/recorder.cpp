#include "scanner/recorder.h"

#include <algorithm>
#include <cinttypes>
#include <ctime>

#include "common/files/run_log.h"
#include "common/files/settings.h"
#include "common/platform/console.h"
#include "common/platform/system.h"
#include "common/text/check_value.h"
#include "common/text/stored_name.h"
#include "scanner/console_texts.h"

namespace {

// A busy store is waited for by the batch itself (busy time-out); a row that still fails is tried
// again on a fresh connection before it is given up.
constexpr int kInsertAttempts = 3;
constexpr int kRetryPauseMilliseconds = 100;

std::string localTimeText(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  if (const std::tm* local = std::localtime(&now)) parts = *local;
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
  row.filenameid = std::to_string(sequence) + "_" + localTimeText("%Y%m%d%H%M%S") + "_" +
                   std::to_string(sorrel::platform::tickCountMilliseconds());
  row.regdate = localTimeText("%Y-%m-%d");
  if (qevTextCheckValue(row.filepath, kCheckName, row.filechkval) != 1) row.filechkval.clear();
  row.filesize = entry.kind == EntryDescription::kDirectory ? 0 : entry.size;
  row.fileinfo = scanner_text::kNotHandled;
  row.filetype = static_cast<std::uint32_t>(entry.kind);
  return row;
}

int Recorder::RecordEntry(const EntryDescription& entry) {
  if (entry.kind != EntryDescription::kFile && entry.kind != EntryDescription::kDirectory) return 0;
  const RecordRow row = buildRow(entry);
  insert(FormatInsertStatement(row), entry.ansiPath);
  bool raise = false;
  {
    std::lock_guard guard(lock_);
    raise = ++rowsSinceFlag_ >= kRowsPerFlag;
  }
  if (raise) {
    commit();
    if (raiseFlag_ && raiseFlag_()) {
      std::lock_guard guard(lock_);
      rowsSinceFlag_ = 0;
    }
  }
  return 1;
}

void Recorder::insert(const std::string& statement, const std::string& path) {
  for (int attempt = 1; attempt <= kInsertAttempts; ++attempt) {
    if (writer_.execute(statement) == 1) {
      pending_.push_back({statement, path});
      return;
    }
    // Start over on a fresh connection: what the batch held is committed (or logged) first.
    commit();
    if (attempt < kInsertAttempts) sorrel::platform::sleepMilliseconds(kRetryPauseMilliseconds);
  }
  logLostRow(path);
}

bool Recorder::commit() {
  std::vector<std::string> failed;
  const bool committed = writer_.commit(&failed) == 1;
  for (const std::string& statement : failed) {
    const auto row = std::find_if(pending_.begin(), pending_.end(),
                                  [&](const PendingRow& pending) { return pending.statement == statement; });
    logLostRow(row != pending_.end() ? row->path : statement);
  }
  pending_.clear();
  return committed && failed.empty();
}

void Recorder::logLostRow(const std::string& path) {
  qevWriteRunLog(std::string(scanner_text::kRowNotRecorded) + path, "", kScannerRunLog, kRunLogLimit);
}
