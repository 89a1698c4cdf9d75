// Rows per second into fileinfo through each way of recording, on copies of the staged store:
// one connection per statement, the batched recording path, one statement list, and one raw
// SQLite transaction as the reference.
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/store/datastore.h"
#include "common/store/store_batch_writer.h"

namespace {

namespace fs = std::filesystem;

// The scanner's insert with realistic values: Base64 names of a few dozen characters.
std::string insertStatement(int row) {
  const std::string number = std::to_string(row);
  const std::string name = "dABlAHMAdAAuAGEAcwBwAC4A" + number;
  const std::string path = "LwBzAHIAdgAvAHcAdwB3AC8AcwBpAHQAZQAvAHUAcABsAG8AYQBkAC8A" + name;
  return "insert into fileinfo(fid,regdate,filenameid,filename,filepath,filesize,filesize2,CompactDatabase,"
         "filechkval,fileinfo,filetype) values ('1', '2026-12-10', '" + number + "_20261210013400_8812345', '" +
         name + "', '" + path + "', " + std::to_string(1000 + row) +
         ", 0, '0', '0cc175b9c0f1b6a831c399e269772661', '未处理',1)";
}

class ScratchProgramDir {
 public:
  ScratchProgramDir() {
    std::string pattern = (fs::temp_directory_path() / "sorrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern + "/";
    fs::create_directories(dir_ + "config");
    if (!bench::makeEmptyStore(dir_ + "config/FileInfo.dat")) std::abort();
    qevOverrideExeDirForTesting(dir_);
  }
  ~ScratchProgramDir() {
    qevOverrideExeDirForTesting("");
    fs::remove_all(dir_);
  }
  std::string store() const { return dir_ + "config/FileInfo.dat"; }

 private:
  std::string dir_;
};

// Runs `record` for `rows` rows on a fresh store and answers rows per second.
double measure(int rows, const std::function<bool(const ScratchProgramDir&, int)>& record) {
  ScratchProgramDir dir;
  const auto start = std::chrono::steady_clock::now();
  if (!record(dir, rows)) {
    std::fprintf(stderr, "recording failed\n");
    std::exit(1);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::string count;
  if (qevReadFirstValue("select count(*) as n from fileinfo", "n", count) != 1 || count != std::to_string(rows)) {
    std::fprintf(stderr, "expected %d rows, found %s\n", rows, count.c_str());
    std::exit(1);
  }
  return rows / seconds;
}

bool perStatement(const ScratchProgramDir&, int rows) {
  for (int i = 0; i < rows; ++i) {
    if (qevExecuteSql(insertStatement(i)) != 1) return false;
  }
  return true;
}

// As the scanner does: a commit before every refscanlog signal, that is every ten rows.
bool batchWriter(const ScratchProgramDir&, int rows) {
  StoreBatchWriter writer;
  for (int i = 0; i < rows; ++i) {
    if (writer.execute(insertStatement(i)) != 1) return false;
    if (i % 10 == 9 && writer.commit() != 1) return false;
  }
  return writer.commit() == 1;
}

bool statementList(const ScratchProgramDir&, int rows) {
  std::vector<std::string> statements;
  for (int i = 0; i < rows; ++i) statements.push_back(insertStatement(i));
  return qevExecuteSqlList(statements) == 1;
}

bool rawTransaction(const ScratchProgramDir& dir, int rows) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open_v2(dir.store().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
            sqlite3_exec(db, "begin", nullptr, nullptr, nullptr) == SQLITE_OK;
  for (int i = 0; ok && i < rows; ++i) {
    ok = sqlite3_exec(db, insertStatement(i).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  }
  ok = ok && sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

}  // namespace

int main() {
  struct Way {
    const char* name;
    int rows;
    std::function<bool(const ScratchProgramDir&, int)> record;
  };
  const Way ways[] = {
      {"qevExecuteSql, one connection per statement", 1000, perStatement},
      {"StoreBatchWriter, commit every 10 rows", 10000, batchWriter},
      {"qevExecuteSqlList of 10,000 statements", 10000, statementList},
  };
  const double reference = measure(10000, rawTransaction);
  std::printf("%-48s %10.0f rows/s (reference)\n", "raw SQLite, one transaction", reference);
  for (const Way& way : ways) {
    const double rate = measure(way.rows, way.record);
    std::printf("%-48s %10.0f rows/s  %6.3f x reference\n", way.name, rate, rate / reference);
  }
  return 0;
}
