// Check value of a 100,000,000-byte file (just under the 104,857,599-byte ceiling), by ANSI path
// and by long path, against `md5sum` over the same file: warm cache, best of three each.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "bench/bench_support.h"
#include "common/text/check_value.h"
#include "common/text/text_codec.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 100000000;

bool writeRandomFile(const fs::path& path) {
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

}  // namespace

int main() {
  const fs::path dir = bench::makeScratchDirectory("check-value");
  const fs::path file = dir / "large.bin";
  bool ok = writeRandomFile(file);
  if (ok) {
    const std::string md5sum = "md5sum '" + file.string() + "' > /dev/null";
    std::system(md5sum.c_str());  // warms the page cache for all runs
    std::u16string longPath;
    qevAnsiToWide(file.string(), longPath);
    std::string value;
    const double reference = bench::bestOf([&] { return std::system(md5sum.c_str()) == 0; });
    const double byPath = bench::bestOf([&] { return qevFileCheckValue(file.string(), kCheckName, value) == 1; });
    const double byLongPath = bench::bestOf([&] { return qevFileCheckValue(longPath, kCheckName, value) == 1; });
    ok = bench::printRatio("check value of 100,000,000 bytes", "md5sum", byPath, reference);
    ok = bench::printRatio("check value of 100,000,000 bytes by long path", "md5sum", byLongPath, reference) && ok;
  } else {
    std::printf("cannot write the test file in %s\n", dir.string().c_str());
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
