// Recording speed of the scanner with 5,000 special entries: a whole run of the staged scanner
// and the recorder alone (rows in batches, the refresh flag every ten rows), each against raw
// inserts of the same 5,000 rows in one transaction through the store layer.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/store/datastore.h"
#include "common/text/check_value.h"
#include "common/text/text_codec.h"
#include "scanner/recorder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDirectories = 50;
constexpr int kNamesPerDirectory = 100;
constexpr int kRows = kDirectories * kNamesPerDirectory;

// The special entries: names ending in a dot.
std::vector<EntryDescription> makeTree(const std::string& root) {
  std::vector<EntryDescription> entries;
  for (int d = 0; d < kDirectories; ++d) {
    const std::string directory = root + "/dir" + std::to_string(d);
    fs::create_directory(directory);
    for (int f = 0; f < kNamesPerDirectory; ++f) {
      EntryDescription entry;
      entry.ansiName = "page" + std::to_string(f) + ".";
      entry.ansiPath = directory + "/" + entry.ansiName;
      qevAnsiToWide(entry.ansiName, entry.name);
      entry.size = 1;
      std::ofstream(entry.ansiPath) << "x";
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

// The rows the recorder would write for the entries, as insert statements.
std::vector<std::string> insertStatements(const std::vector<EntryDescription>& entries) {
  std::vector<std::string> statements;
  std::uint32_t sequence = 0;
  for (const EntryDescription& entry : entries) {
    RecordRow row;
    row.filepath = StoredNameOrError(entry.widePath());
    row.filename = StoredNameOrError(entry.name);
    row.filenameid = std::to_string(sequence++) + "_20261210120000_1";
    row.regdate = "2026-12-10";
    qevTextCheckValue(row.filepath, kCheckName, row.filechkval);
    row.filesize = entry.size;
    row.fileinfo = "未处理";
    row.filetype = 1;
    statements.push_back(FormatInsertStatement(row));
  }
  return statements;
}

long rowCount() {
  std::string count;
  if (qevReadFirstValue("select count(*) as n from fileinfo", "n", count) != 1) return -1;
  return std::atol(count.c_str());
}

bool emptied() { return qevExecuteSql("delete from fileinfo") == 1; }

}  // namespace

int main() {
  const fs::path tree = bench::makeScratchDirectory("recording-tree");
  const fs::path programDir = bench::makeScratchDirectory("recording-program");
  const std::string program = (programDir / "Sorrelscan").string();
  fs::create_directories(programDir / "config");
  fs::copy_file(std::string(SORREL_DIST_DIR) + "/Sorrelscan", program);
  bool ok = bench::makeEmptyStore((programDir / "config/FileInfo.dat").string());
  std::ofstream(programDir / "config/ScanDir.txt") << tree.string() << "\r\n";
  qevOverrideExeDirForTesting(programDir.string() + "/");

  const std::vector<EntryDescription> entries = makeTree(tree.string());
  const std::vector<std::string> statements = insertStatements(entries);
  const std::string scan = "'" + program + "' /FileScan </dev/null >/dev/null 2>&1";

  long scannerRows = -1;
  long recorderRows = -1;
  const double reference = bench::bestOf([&] { return emptied() && qevExecuteSqlList(statements) == 1; });
  const double scanner = bench::bestOf([&] {
    const bool ran = std::system(scan.c_str()) != -1;
    scannerRows = rowCount();
    return ran && scannerRows == kRows;
  });
  const double recorder = bench::bestOf([&] {
    if (!emptied()) return false;
    {
      Recorder recording(RaiseRefreshFlag);
      for (const EntryDescription& entry : entries) recording.RecordEntry(entry);
      if (!recording.commit()) return false;
    }
    recorderRows = rowCount();
    return recorderRows == kRows;
  });

  if (ok && scanner > 0 && recorder > 0) {
    std::printf("scanner run over %d special entries: %ld rows, %.0f rows per second (goal >= 10,000)\n", kRows,
                scannerRows, kRows / scanner);
    std::printf("recorder alone: %.0f rows per second\n", kRows / recorder);
  }
  ok = bench::printRatio("scanner run, 5,000 rows", "one transaction", scanner, reference) && ok;
  ok = bench::printRatio("recorder alone, 5,000 rows", "one transaction", recorder, reference) && ok;

  qevOverrideExeDirForTesting("");
  std::error_code ignored;
  fs::remove_all(tree, ignored);
  fs::remove_all(programDir, ignored);
  return ok ? 0 : 1;
}
