// A cleaning pass over 2,000 marked entries on one volume: entries per second, against the same
// entries moved by bare renames (parents made with create_directories) in the same run, the
// least work any pass must do.
//
// The volume is a directory of the temporary file system made into a mount point of its own in a
// private mount namespace (bind mount), so the backup tree lands below it; where no namespace can
// be made, the pass runs on the file system that holds the temporary directory, and its dated
// backup directory is removed afterwards.
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/exe_dir.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "maintenance/cleaning/cleaning_pass.h"

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

void makeEntries(const std::string& root) {
  for (int i = 0; i < kEntries; ++i) {
    fs::create_directories(fs::path(entryPath(root, i)).parent_path());
    std::ofstream(entryPath(root, i), std::ios::binary) << "entry " << i;
  }
}

bool markRows(const std::string& root) {
  std::vector<std::string> statements;
  for (int i = 0; i < kEntries; ++i) {
    statements.push_back(
        "insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, filesize2, CompactDatabase, "
        "filechkval, fileinfo, filetype) values ('1', '2026-12-10', 'r" + std::to_string(i) + "', 'bmFtZQ==', '" +
        qevEncodeStoredName(wide(entryPath(root, i))) + "', 8, 0, '2', '', '未处理', 1)");
  }
  return qevExecuteSqlList(statements) == 1;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The reference: every entry renamed into a tree of the same shape, parents made as needed.
double bareMoves(const std::string& from, const std::string& to) {
  makeEntries(from);
  const auto begin = Clock::now();
  for (int i = 0; i < kEntries; ++i) {
    const fs::path target = to + entryPath("", i);
    fs::create_directories(target.parent_path());
    fs::rename(entryPath(from, i), target);
  }
  return secondsSince(begin);
}

int runBench(const std::string& volume) {
  const std::string programDir = volume + "/program/";
  fs::create_directories(programDir + "config");
  if (!bench::makeEmptyStore(programDir + "config/FileInfo.dat")) return 1;
  qevOverrideExeDirForTesting(programDir);

  const std::string site = volume + "/site";
  makeEntries(site);
  if (!markRows(site)) {
    std::fprintf(stderr, "could not mark the rows\n");
    return 1;
  }
  const std::string date = "bench";
  const std::string time = std::to_string(getpid());
  CleaningPassHooks hooks{[](int) {}, [](int) {}, [] { return true; }, [](const std::string&, MessageIcon) {},
                          [] {}};
  const auto start = Clock::now();
  const CleaningPassResult result = qevRunCleaningPass(hooks, date, time);
  const double pass = secondsSince(start);
  const double moves = bareMoves(volume + "/again", volume + "/moved");

  std::printf("entries moved: %u of %u\n", result.moved, result.taken);
  std::printf("cleaning pass: %8.1f ms  %8.0f entries/s\n", pass * 1000, kEntries / pass);
  std::printf("bare moves:    %8.1f ms  %8.0f entries/s\n", moves * 1000, kEntries / moves);
  bench::printRatio("cleaning pass of 2,000 entries", "bare moves", pass, moves);
  qevOverrideExeDirForTesting("");
  return result.moved == kEntries ? 0 : 1;
}

// The pass puts its backup tree at the root of the entry's volume: the work directory becomes a
// mount point of its own when a private mount namespace can be made.
int runOnOwnVolume(const std::string& directory) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string command = std::string(kInnerMarker) + "='" + directory + "' unshare -m --propagation private '" +
                              self + "' 2>&1";
  if (system("unshare -m --propagation private true >/dev/null 2>&1") == 0) return system(command.c_str()) == 0 ? 0 : 1;
  std::printf("(no private mount namespace: the temporary directory's file system is the volume)\n");
  const int status = runBench(directory);
  std::error_code ignored;
  fs::remove_all(fs::path("/") / "qev_dot_file_backup" / "bench" / std::to_string(getpid()), ignored);
  fs::remove(fs::path("/") / "qev_dot_file_backup" / "bench", ignored);
  fs::remove(fs::path("/") / "qev_dot_file_backup", ignored);
  return status;
}

}  // namespace

int main() {
  if (const char* volume = getenv(kInnerMarker)) {
    const std::string bind = std::string("mount --bind '") + volume + "' '" + volume + "'";
    if (system(bind.c_str()) != 0) return 1;
    return runBench(volume);
  }
  std::string directory = (fs::temp_directory_path() / "sorrel-bench-XXXXXX").string();
  if (mkdtemp(directory.data()) == nullptr) return 1;
  const int status = runOnOwnVolume(directory);
  std::error_code ignored;
  fs::remove_all(directory, ignored);
  return status;
}
