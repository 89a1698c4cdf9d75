// One full reload of the record list (query, decode, fill the list) over 10,000 recorded rows,
// against a plain read of the same rows with the SQLite API, in the same run.
#include <sqlite3.h>
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "console/record_list_model.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/records/record_query.h"
#include "support/scripted_prompter.h"

namespace {

constexpr int kRows = 10000;
constexpr int kRuns = 7;
constexpr const char* kListQuery =
    "select * from fileinfo order by filetype asc, filename asc, filename asc limit 10000";

using Clock = std::chrono::steady_clock;

std::string stored(const std::string& text) {
  std::u16string wide;
  qevAnsiToWide(text, wide);
  return qevEncodeStoredName(wide);
}

bool recordRows() {
  std::vector<std::string> statements;
  statements.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    const std::string name = (i % 3 == 0 ? "con." : i % 3 == 1 ? "aux.asp" : "网页 ") + std::to_string(i);
    const std::string path = "/srv/www/site" + std::to_string(i % 50) + "/uploads/2026/12/" + name;
    statements.push_back(
        "insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, filesize2, CompactDatabase, "
        "filechkval, fileinfo, filetype) values ('1', '2026-12-10', '" + std::to_string(i) + "_20261210010101_" +
        std::to_string(1000 + i) + "', '" + stored(name) + "', '" + stored(path) + "', " + std::to_string(i * 37) +
        ", 0, '0', '0123456789abcdef0123456789abcdef', '未处理', " + (i % 10 == 0 ? "2" : "1") + ")");
  }
  return qevExecuteSqlList(statements) == 1;
}

// The reference: the same rows and columns read with the SQLite API alone.
int plainRead(const std::string& store) {
  sqlite3* db = nullptr;
  sqlite3_stmt* statement = nullptr;
  int rows = 0;
  if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, kListQuery, -1, &statement, nullptr) == SQLITE_OK) {
    const int columns = sqlite3_column_count(statement);
    std::string text;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        const unsigned char* value = sqlite3_column_text(statement, c);
        if (value != nullptr) text.assign(reinterpret_cast<const char*>(value), sqlite3_column_bytes(statement, c));
      }
      ++rows;
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close_v2(db);
  return rows;
}

template <typename Work>
double medianMilliseconds(Work work) {
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  std::string directory = (std::filesystem::temp_directory_path() / "sorrel-bench-XXXXXX").string();
  if (mkdtemp(directory.data()) == nullptr) return 1;
  directory += "/";
  std::filesystem::create_directories(directory + "config");
  const std::string store = directory + "config/FileInfo.dat";
  if (!bench::makeEmptyStore(store)) return 1;
  qevOverrideExeDirForTesting(directory);

  int status = 0;
  if (!recordRows()) {
    std::fprintf(stderr, "could not record the rows\n");
    status = 1;
  } else {
    ScriptedPrompter prompter;
    CSorrelmedeDlg::Desktop desktop = CSorrelmedeDlg::systemDesktop();
    desktop.remoteHelpPages = false;
    CSorrelmedeDlg window(&prompter, {}, desktop);
    const double reload = medianMilliseconds([] { qevReloadAllRecords(); });
    window.show();
    const double reloadAndPaint = medianMilliseconds([&] {
      qevReloadAllRecords();
      window.repaint();
    });
    int plainRows = 0;
    const double plain = medianMilliseconds([&] { plainRows = plainRead(store); });
    std::printf("rows in the list: %d, rows read plainly: %d (median of %d runs)\n", window.recordList().rows(),
                plainRows, kRuns);
    std::printf("full reload (query, decode, fill the list):  %8.1f ms\n", reload);
    std::printf("full reload and repaint of the window:       %8.1f ms\n", reloadAndPaint);
    std::printf("plain SQLite read of the same rows:          %8.1f ms\n", plain);
    std::printf("ratio reload / plain read:                   %8.2f\n", reload / plain);
    std::printf("goal: reload under 250 ms: %s\n", reload < 250.0 ? "met" : "NOT met");
    window.stopWorkers();
  }
  qevOverrideExeDirForTesting("");
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
  return status;
}
