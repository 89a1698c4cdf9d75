// Long-path file operations against references measured in the same run, warm cache, best of
// three each: the check value of a 100,000,000-byte file by long path against `md5sum`, and
// the kind of 10,000 entries (qevGetPathKind) against a plain lstat of each. Prints the ratios.
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "common/check_value.h"
#include "common/long_path.h"
#include "common/text_codec.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 100000000;
constexpr int kEntries = 10000;
constexpr int kRounds = 3;

fs::path makeTemporaryDirectory() {
  std::random_device random;
  const fs::path dir = fs::temp_directory_path() / ("sorrel-bench-long-path-" + std::to_string(random()));
  fs::create_directory(dir);
  return dir;
}

bool writeLargeFile(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  std::vector<std::uint64_t> chunk(1000000 / sizeof(std::uint64_t));
  std::mt19937_64 generator(7);
  for (std::size_t written = 0; written < kFileBytes; written += chunk.size() * sizeof(std::uint64_t)) {
    for (auto& word : chunk) word = generator();
    out.write(reinterpret_cast<const char*>(chunk.data()),
              static_cast<std::streamsize>(chunk.size() * sizeof(std::uint64_t)));
  }
  return static_cast<bool>(out.flush());
}

// Best wall-clock time of kRounds runs, in seconds; negative when a run fails.
double bestOf(const std::function<bool()>& run) {
  double best = -1;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) return -1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (best < 0 || seconds < best) best = seconds;
  }
  return best;
}

std::u16string wide(const std::string& path) {
  std::u16string result;
  qevAnsiToWide(path, result);
  return result;
}

void printRatio(const char* what, const char* reference, double ours, double theirs) {
  if (ours > 0 && theirs > 0) {
    std::printf("%s: ours %.4f s, %s %.4f s, ratio ours/%s %.2f\n", what, ours, reference, theirs,
                reference, ours / theirs);
  } else {
    std::printf("%s: failed\n", what);
  }
}

bool benchCheckValue(const fs::path& dir) {
  const fs::path file = dir / "large.bin";
  if (!writeLargeFile(file)) return false;
  const std::string md5sum = "md5sum '" + file.string() + "' > /dev/null";
  std::system(md5sum.c_str());  // warms the page cache for both
  const std::u16string longPath = wide(file.string());
  std::string value;
  const double ours = bestOf([&] { return qevFileCheckValue(longPath, kCheckName, value) == 1; });
  const double theirs = bestOf([&] { return std::system(md5sum.c_str()) == 0; });
  printRatio("check value of 100,000,000 bytes by long path", "md5sum", ours, theirs);
  fs::remove(file);
  return ours > 0 && theirs > 0;
}

bool benchPathKind(const fs::path& dir) {
  std::vector<std::string> paths;
  std::vector<std::u16string> longPaths;
  for (int i = 0; i < kEntries; ++i) {
    const fs::path sub = dir / ("site" + std::to_string(i % 100)) / ("page" + std::to_string(i) + ".php");
    fs::create_directories(sub.parent_path());
    std::ofstream(sub) << "x";
    paths.push_back(sub.string());
    longPaths.push_back(wide(sub.string()));
  }
  const double ours = bestOf([&] {
    for (const auto& path : longPaths) {
      if (qevGetPathKind(path) != 1) return false;
    }
    return true;
  });
  const double theirs = bestOf([&] {
    struct stat info {};
    for (const auto& path : paths) {
      if (lstat(path.c_str(), &info) != 0) return false;
    }
    return true;
  });
  printRatio("kind of 10,000 entries", "lstat", ours, theirs);
  return ours > 0 && theirs > 0;
}

}  // namespace

int main() {
  const fs::path dir = makeTemporaryDirectory();
  const bool ok = benchCheckValue(dir) && benchPathKind(dir);
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
