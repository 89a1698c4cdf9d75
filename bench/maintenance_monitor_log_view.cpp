// One load of the monitor-log view (the newest 10,000 of 50,000 imported rows, every column
// read by name) against a plain read of the same statement with the SQLite API, in the same run.
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/store/access_dialect.h"
#include "common/store/datastore.h"
#include "maintenance/logs/monitor_log_query.h"

namespace {

constexpr int kRows = 50000;

bool importRows() {
  std::vector<std::string> statements;
  statements.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    const std::string n = std::to_string(i);
    statements.push_back(
        "insert into fmlog(fid,serip,regdate,regtime,fileextname,fileaction,chkfile,chkfileinfo,blockfile,"
        "blockfileinfo,filename,filesize,filechkvalue,filetype) values ('/opt/qev_log_file/fmlog/_10.0.0." +
        std::to_string(i % 7) + "_fmlog_20261210.txt', '10.0.0." + std::to_string(i % 7) + "', '2026-12-" +
        std::to_string(10 + i % 5) + "', '10:" + std::to_string(10 + i % 50) + ":" + std::to_string(10 + i % 49) +
        "', '.php', '新建', '1', '" + (i % 9 == 0 ? "可疑文件（包含可疑关键字）" : "正常文件") +
        "', '0', '', '/srv/www/site" + std::to_string(i % 40) + "/uploads/" + n + ".php', '" + std::to_string(i * 13) +
        "', '0123456789abcdef0123456789abcdef', '1')");
  }
  return qevExecuteSqlList(statements) == 1;
}

bool plainRead(const std::string& store, const std::string& query) {
  sqlite3* db = nullptr;
  sqlite3_stmt* statement = nullptr;
  int rows = 0;
  if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    const int columns = sqlite3_column_count(statement);
    std::vector<std::string> texts(static_cast<std::size_t>(columns));
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        const unsigned char* value = sqlite3_column_text(statement, c);
        if (value != nullptr) {
          texts[static_cast<std::size_t>(c)].assign(reinterpret_cast<const char*>(value),
                                                    static_cast<std::size_t>(sqlite3_column_bytes(statement, c)));
        }
      }
      ++rows;
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
  return rows == kMonitorLogRowLimit;
}

}  // namespace

int main() {
  const std::filesystem::path dir = bench::makeScratchDirectory("monitor-log");
  const std::string programDir = dir.string() + "/";
  std::filesystem::create_directory(programDir + "config");
  const std::string store = programDir + "config/FileInfo.dat";
  bool ok = bench::makeEmptyStore(store);
  qevOverrideExeDirForTesting(programDir);
  ok = ok && importRows();

  const std::string query = qevTranslateAccessDialect(qevMonitorLogQuery({}, {}));
  const double ours = bench::bestOf([] {
    std::vector<MonitorLogRow> rows;
    return qevLoadMonitorLog({}, {}, rows) == 1 && rows.size() == static_cast<std::size_t>(kMonitorLogRowLimit);
  });
  const double reference = bench::bestOf([&] { return plainRead(store, query); });
  std::printf("%d fmlog rows, view of the newest %d\n", kRows, kMonitorLogRowLimit);
  ok = ok && bench::printRatio("monitor-log view load", "sqlite", ours, reference);

  qevOverrideExeDirForTesting("");
  std::filesystem::remove_all(dir);
  return ok ? 0 : 1;
}
