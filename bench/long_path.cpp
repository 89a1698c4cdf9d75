// The kind of 10,000 entries by long path (qevGetPathKind) against a plain lstat of each, in
// the same run, best of three each.
#include <sys/stat.h>

#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "common/files/long_path.h"
#include "common/text/text_codec.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 10000;

bool benchPathKind(const fs::path& dir) {
  std::vector<std::string> paths;
  std::vector<std::u16string> longPaths;
  for (int i = 0; i < kEntries; ++i) {
    const fs::path file = dir / ("site" + std::to_string(i % 100)) / ("page" + std::to_string(i) + ".php");
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
    paths.push_back(file.string());
    std::u16string longPath;
    qevAnsiToWide(file.string(), longPath);
    longPaths.push_back(longPath);
  }
  const double ours = bench::bestOf([&] {
    for (const auto& path : longPaths) {
      if (qevGetPathKind(path) != 1) return false;
    }
    return true;
  });
  const double theirs = bench::bestOf([&] {
    struct stat info {};
    for (const auto& path : paths) {
      if (lstat(path.c_str(), &info) != 0) return false;
    }
    return true;
  });
  return bench::printRatio("kind of 10,000 entries", "lstat", ours, theirs);
}

}  // namespace

int main() {
  const fs::path dir = bench::makeScratchDirectory("long-path");
  const bool ok = benchPathKind(dir);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
