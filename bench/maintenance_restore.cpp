// A restore of a backup directory holding 2,000 cleaned entries in 20 directories, with their
// rows: entries per second, against the bare moves of as many entries (one rename each) in the
// same run.
//
// The work directory becomes a mount point of its own in a private mount namespace (bind mount),
// so that the backup directory lies at its volume root; without a namespace the benchmark says so
// and stops.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/files/long_path_move.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "maintenance/restore/restore_pass.h"

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 2000;
constexpr const char* kInnerMarker = "SORREL_BENCH_VOLUME";
using Clock = std::chrono::steady_clock;

std::u16string wide(const std::string& path) {
  std::u16string text;
  qevAnsiToWide(path, text);
  return text;
}

std::string entryPath(const std::string& root, int i) {
  return root + "/d" + std::to_string(i % 20) + "/con." + std::to_string(i);
}

void makeEntries(const std::string& root, const std::string& placesRoot) {
  for (int i = 0; i < kEntries; ++i) {
    fs::create_directories(fs::path(entryPath(root, i)).parent_path());
    fs::create_directories(fs::path(entryPath(placesRoot, i)).parent_path());
    std::ofstream(entryPath(root, i), std::ios::binary) << "entry " << i;
  }
}

bool addCleanedRows(const std::string& site) {
  std::vector<std::string> statements;
  for (int i = 0; i < kEntries; ++i) {
    statements.push_back(
        "insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, filesize2, CompactDatabase, "
        "filechkval, fileinfo, filetype) values ('1', '2026-12-10', 'r" + std::to_string(i) + "', 'bmFtZQ==', '" +
        qevEncodeStoredName(wide(entryPath(site, i))) + "', 8, 0, '1', '', '已清理；已移动到备份目录', 1)");
  }
  return qevExecuteSqlList(statements) == 1;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int runBench(const std::string& volume) {
  const std::string programDir = volume + "/program/";
  fs::create_directories(programDir + "config");
  if (!bench::makeEmptyStore(programDir + "config/FileInfo.dat")) return 1;
  qevOverrideExeDirForTesting(programDir);

  const std::string backup = volume + "/qev_dot_file_backup/2026-12-10/10-20-30";
  const std::string site = volume + "/site";
  makeEntries(backup + "/site", site);
  if (!addCleanedRows(site)) {
    std::fprintf(stderr, "could not add the rows\n");
    return 1;
  }
  BackupLocation location;
  if (qevLocateBackupDirectory(backup, location) != BackupLocationCheck::Usable) {
    std::fprintf(stderr, "the backup directory is not usable\n");
    return 1;
  }
  auto start = Clock::now();
  const RestoreResult result = qevRestoreBackupTree(location, false, RestoreHooks{});
  const double restore = secondsSince(start);

  // The reference: the same number of entries moved one by one, nothing else.
  makeEntries(volume + "/again", volume + "/moved");
  start = Clock::now();
  for (int i = 0; i < kEntries; ++i) {
    qevMoveNoReplace(wide(entryPath(volume + "/again", i)), wide(entryPath(volume + "/moved", i)));
  }
  const double moves = secondsSince(start);

  std::printf("entries restored: %u of %d, rows reset: %u\n", result.restored, kEntries, result.rowsReset);
  std::printf("restore:     %8.1f ms  %8.0f entries/s\n", restore * 1000, kEntries / restore);
  std::printf("bare moves:  %8.1f ms  %8.0f entries/s\n", moves * 1000, kEntries / moves);
  bench::printRatio("restore of 2,000 entries", "bare moves", restore, moves);
  qevOverrideExeDirForTesting("");
  return result.restored == kEntries && result.rowsReset == kEntries ? 0 : 1;
}

}  // namespace

int main() {
  if (const char* volume = getenv(kInnerMarker)) {
    const std::string bind = std::string("mount --bind '") + volume + "' '" + volume + "'";
    if (system(bind.c_str()) != 0) return 1;
    return runBench(volume);
  }
  if (system("unshare -m --propagation private true >/dev/null 2>&1") != 0) {
    std::printf("restore benchmark: no private mount namespace can be made here\n");
    return 0;
  }
  std::string directory = (fs::temp_directory_path() / "sorrel-bench-XXXXXX").string();
  if (mkdtemp(directory.data()) == nullptr) return 1;
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string command = std::string(kInnerMarker) + "='" + directory + "' unshare -m --propagation private '" +
                              self + "' 2>&1";
  const int status = system(command.c_str()) == 0 ? 0 : 1;
  std::error_code ignored;
  fs::remove_all(directory, ignored);
  return status;
}
