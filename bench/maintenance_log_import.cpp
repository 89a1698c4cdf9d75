// Import of one downloaded log of 100,000 lines of 14 fields into fmlog, against one raw SQLite
// transaction that inserts the same rows (split beforehand, one prepared insert) into a store
// made the same way: what reading, splitting, the replace by fid and the binding add to the
// unavoidable inserts. Each round on a fresh store; best of three alternating rounds.
#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "bench/bench_support.h"
#include "maintenance/logs/log_import.h"
#include "support/files.h"
#include "support/program_dir.h"

namespace {

constexpr int kLines = 100'000;
constexpr int kFields = 14;
constexpr const char* kServerIp = "192.168.10.20";
constexpr const char* kInsert =
    "insert into fmlog(fid,serip,regdate,regtime,fileextname,fileaction,chkfile,chkfileinfo,blockfile,"
    "blockfileinfo,filename,filesize,filechkvalue,filetype) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

using Line = std::array<std::string, kFields>;

// Monitor events with varying times, actions, paths, sizes and check values.
std::vector<Line> makeLines() {
  std::mt19937_64 generator(11);
  static constexpr char kHex[] = "0123456789abcdef";
  static constexpr const char* kActions[] = {"add", "modify", "delete", "rename", "block"};
  std::vector<Line> lines;
  lines.reserve(kLines);
  for (int n = 0; n < kLines; ++n) {
    const std::uint64_t r = generator();
    std::string digest;
    for (int i = 0; i < 32; ++i) digest += kHex[(generator() >> 60) & 0xF];
    const std::string path = "/srv/www/site" + std::to_string(r % 8) + "/uploads/2026/12/f" +
                             std::to_string((r >> 8) % 1000000) + (r % 3 ? ".php" : ".jpg");
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", n / 3600 % 24, n / 60 % 60, n % 60);
    lines.push_back(Line{std::to_string(n), "2026-12-10", time, r % 3 ? ".php" : ".jpg", kActions[r % 5], "5",
                         std::to_string(r % 2), r % 7 ? "普通文件" : "可疑文件", "0", "-", path,
                         std::to_string((r >> 20) % 200000), digest, std::to_string(r % 4)});
  }
  return lines;
}

std::string logText(const std::vector<Line>& lines) {
  std::string text;
  for (const Line& line : lines) {
    for (int field = 0; field < kFields; ++field) text += (field == 0 ? "" : "\t") + line[field];
    text += "\r\n";
  }
  return text;
}

int fmlogRows(const std::string& store) {
  sqlite3* db = nullptr;
  sqlite3_stmt* count = nullptr;
  int rows = -1;
  if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "select count(*) from fmlog", -1, &count, nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    rows = sqlite3_column_int(count, 0);
  }
  sqlite3_finalize(count);
  sqlite3_close(db);
  return rows;
}

bool rawTransaction(const std::string& store, const std::string& fid, const std::vector<Line>& lines) {
  sqlite3* db = nullptr;
  sqlite3_stmt* insert = nullptr;
  bool ok = sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, kInsert, -1, &insert, nullptr) == SQLITE_OK;
  static constexpr std::array<int, 12> kKept = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13};
  for (std::size_t n = 0; ok && n < lines.size(); ++n) {
    sqlite3_reset(insert);
    sqlite3_bind_text(insert, 1, fid.data(), static_cast<int>(fid.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, kServerIp, -1, SQLITE_STATIC);
    for (std::size_t i = 0; i < kKept.size(); ++i) {
      const std::string& value = lines[n][static_cast<std::size_t>(kKept[i])];
      sqlite3_bind_text(insert, static_cast<int>(i + 3), value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    }
    ok = sqlite3_step(insert) == SQLITE_DONE;
  }
  sqlite3_finalize(insert);
  ok = ok && sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// One timed round on a fresh program directory; negative when it failed or lost a row.
double round(const std::string& text, const std::function<bool(const TemporaryProgramDir&, const std::string&)>& run) {
  TemporaryProgramDir dir;
  const std::string path = dir.path() + "_" + kServerIp + "_site_FMLog_20261210.txt";
  writeFile(path, text);
  const double seconds = bench::bestOf([&] { return run(dir, path); }, 1);
  return fmlogRows(dir.store()) == kLines ? seconds : -1;
}

}  // namespace

int main() {
  const std::vector<Line> lines = makeLines();
  const std::string text = logText(lines);
  const auto ours = [](const TemporaryProgramDir&, const std::string& path) {
    bool stored = false;
    return qevImportLogFile(kServerIp, path, &stored) == 1 && stored;
  };
  const auto reference = [&lines](const TemporaryProgramDir& dir, const std::string& path) {
    return rawTransaction(dir.store(), path, lines);
  };
  double best = -1;
  double bestReference = -1;
  for (int i = 0; i < 3; ++i) {
    const double a = round(text, ours);
    const double b = round(text, reference);
    if (a < 0 || b < 0) {
      std::printf("log import: failed\n");
      return 1;
    }
    if (best < 0 || a < best) best = a;
    if (bestReference < 0 || b < bestReference) bestReference = b;
  }
  std::printf("log import of %d lines (%zu bytes): %.0f lines/s, raw SQLite transaction %.0f lines/s\n", kLines,
              text.size(), kLines / best, kLines / bestReference);
  return bench::printRatio("log import", "raw-sqlite", best, bestReference) ? 0 : 1;
}
