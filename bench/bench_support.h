#pragma once
// Shared pieces of the benchmarks: a scratch directory, best-of timing and the ratio line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

namespace bench {

// A fresh directory below the system's temporary directory; the caller removes it.
inline std::filesystem::path makeScratchDirectory(const std::string& name) {
  std::random_device random;
  const auto dir = std::filesystem::temp_directory_path() / ("sorrel-bench-" + name + "-" + std::to_string(random()));
  std::filesystem::create_directory(dir);
  return dir;
}

// Best wall-clock time of `rounds` runs, in seconds; negative when a run fails.
inline double bestOf(const std::function<bool()>& run, int rounds = 3) {
  double best = -1;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (best < 0 || seconds < best) best = seconds;
  }
  return best;
}

// "what: ours X s, reference Y s, ratio ours/reference Z"; false when either run failed.
inline bool printRatio(const char* what, const char* reference, double ours, double theirs) {
  if (ours <= 0 || theirs <= 0) {
    std::printf("%s: failed\n", what);
    return false;
  }
  std::printf("%s: ours %.4f s, %s %.4f s, ratio ours/%s %.2f\n", what, ours, reference, theirs, reference,
              ours / theirs);
  return true;
}

// Makes an empty data store at path from the schema, as the build does (the staged store may
// hold the rows of a demo scan). False when the tool fails.
inline bool makeEmptyStore(const std::string& path) {
  const std::string command = std::string(SORREL_BINARY_DIR) + "/tools/sorrel_make_store '" + SORREL_SOURCE_DIR +
                              "/common/store/schema.sql' '" + path + "'";
  return std::system(command.c_str()) == 0;
}

}  // namespace bench
