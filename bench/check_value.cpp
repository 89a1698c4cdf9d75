// Check value of a 100,000,000-byte file (just under the 104,857,599-byte ceiling) against
// `md5sum` over the same file, warm cache, best of three each. Prints both times and the ratio.
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

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 100000000;
constexpr int kRounds = 3;

fs::path makeTemporaryDirectory() {
  std::random_device random;
  const fs::path dir = fs::temp_directory_path() / ("sorrel-bench-check-value-" + std::to_string(random()));
  fs::create_directory(dir);
  return dir;
}

bool writeTestFile(const fs::path& path) {
  std::ofstream out(path, std::ios::binary);
  std::vector<std::uint64_t> chunk(1000000 / sizeof(std::uint64_t));
  std::mt19937_64 generator(42);
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

}  // namespace

int main() {
  const fs::path dir = makeTemporaryDirectory();
  const fs::path file = dir / "large.bin";
  int status = 1;
  if (writeTestFile(file) && fs::file_size(file) == kFileBytes) {
    const std::string md5sum = "md5sum '" + file.string() + "' > /dev/null";
    std::system(md5sum.c_str());  // warms the page cache for both
    std::string value;
    const double ours = bestOf([&] { return qevFileCheckValue(file.string(), kCheckName, value) == 1; });
    const double reference = bestOf([&] { return std::system(md5sum.c_str()) == 0; });
    if (ours > 0 && reference > 0) {
      std::printf("check value of %zu bytes: qevFileCheckValue %.3f s, md5sum %.3f s, ratio ours/md5sum %.2f\n",
                  kFileBytes, ours, reference, ours / reference);
      status = 0;
    } else {
      std::printf("check value benchmark failed (qevFileCheckValue %s, md5sum %s)\n", ours > 0 ? "ok" : "failed",
                  reference > 0 ? "ok" : "failed");
    }
  } else {
    std::printf("cannot write the %zu-byte test file in %s\n", kFileBytes, dir.string().c_str());
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return status;
}
