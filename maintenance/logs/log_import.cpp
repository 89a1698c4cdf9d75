#include "maintenance/logs/log_import.h"

#include "common/files/text_files.h"
#include "common/store/bound_statements.h"
#include "maintenance/logs/log_lines.h"

namespace {

constexpr const char* kDeleteFileRows = "delete from fmlog where fid = ?";
constexpr const char* kInsertRow =
    "insert into fmlog(fid,serip,regdate,regtime,fileextname,fileaction,chkfile,chkfileinfo,blockfile,"
    "blockfileinfo,filename,filesize,filechkvalue,filetype) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// One run of the insert per line: fid, serip, then the kept fields in column order.
BoundRuns lineRuns(const LogImportBatch& batch) {
  return [&batch, next = std::size_t{0}, fields = LogLineFields{}](std::vector<std::string_view>& values) mutable {
    while (next < batch.lines.size()) {
      if (!qevSplitLogLine(batch.lines[next++], fields)) continue;
      values.push_back(batch.fid);
      values.push_back(batch.serverIp);
      values.insert(values.end(), fields.begin(), fields.end());
      return true;
    }
    return false;
  };
}

}  // namespace

int qevParseLogFile(const std::string& serverIp, const std::string& path, LogImportBatch& batch) {
  batch.lines.clear();
  batch.fid = path;
  batch.serverIp = serverIp;
  if (qevReadFileTextUnbounded(path, batch.text) != 1) return 0;
  batch.lines = qevUsedLogLines(batch.text);
  return 1;
}

int qevExecuteSqlBatch(const LogImportBatch& batch) {
  const std::vector<std::string> fid = {batch.fid};
  const std::vector<BoundStep> steps = {{kDeleteFileRows, qevRunOnce(fid)}, {kInsertRow, lineRuns(batch)}};
  return qevExecuteBoundBatch(steps);
}

int qevImportLogFile(const std::string& serverIp, const std::string& path, bool* stored) {
  if (stored != nullptr) *stored = false;
  LogImportBatch batch;
  if (qevParseLogFile(serverIp, path, batch) != 1) return 0;
  const bool committed = qevExecuteSqlBatch(batch) == 1;
  if (stored != nullptr) *stored = committed;
  return 1;
}
