// The scanner's walk against `find` on the same warm tree of 200,000 entries (the recording
// speed is measured by scanner_recording). Prints the ratio; sets no thresholds.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"

namespace {

namespace fs = std::filesystem;

std::string makeTemporaryDirectory(const char* prefix) {
  std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

// directories x filesPerDirectory files (plus the directories themselves) below root.
void makeTree(const std::string& root, int directories, int filesPerDirectory,
              const std::string& fileSuffix) {
  for (int d = 0; d < directories; ++d) {
    const std::string directory = root + "/dir" + std::to_string(d);
    fs::create_directory(directory);
    for (int f = 0; f < filesPerDirectory; ++f) {
      std::ofstream(directory + "/page" + std::to_string(f) + fileSuffix) << "x";
    }
  }
}

// A program directory with the staged scanner and an empty store, scanning one root.
std::string makeProgramDir(const std::string& scanRoot) {
  const std::string dir = makeTemporaryDirectory("sorrel-bench-program") + "/";
  fs::create_directories(dir + "config");
  fs::copy_file(std::string(SORREL_DIST_DIR) + "/Sorrelscan", dir + "Sorrelscan");
  bench::makeEmptyStore(dir + "config/FileInfo.dat");
  std::ofstream(dir + "config/ScanDir.txt") << scanRoot << "\r\n";
  return dir;
}

double secondsOf(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) == -1) std::abort();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double bestOf(int runs, const std::string& command) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, secondsOf(command));
  return best;
}

std::string scannerCommand(const std::string& programDir) {
  return "'" + programDir + "Sorrelscan' /FileScan </dev/null >/dev/null 2>&1";
}

void walkAgainstFind() {
  const std::string tree = makeTemporaryDirectory("sorrel-bench-tree");
  makeTree(tree, 200, 999, ".html");  // 200 + 199,800 entries
  const std::string programDir = makeProgramDir(tree);
  const std::string find = "find '" + tree + "' -printf '%s %p\\n' >/dev/null";
  secondsOf(find);  // warm the tree
  const double findSeconds = bestOf(3, find);
  const double scanSeconds = bestOf(3, scannerCommand(programDir));
  std::printf("walk of 200,000 entries: scanner %.3f s, find %.3f s, ratio %.2f (goal <= 1.3)\n",
              scanSeconds, findSeconds, scanSeconds / findSeconds);
  fs::remove_all(tree);
  fs::remove_all(programDir);
}

}  // namespace

int main() {
  walkAgainstFind();
  return 0;
}
