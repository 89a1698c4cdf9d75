// Fetch of one 104,857,600-byte log (the largest listed size, zlib level 6) from the scripted
// log agent over 127.0.0.1, against zlib's uncompress plus crc32 of the same stream in memory:
// what the network, the answer buffer and the checks add to the unavoidable work. Best of three
// alternating rounds.
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <memory>

#include "bench/bench_support.h"
#include "maintenance/logs/agent_fetch.h"
#include "support/log_agent.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLogBytes = 104'857'600;
constexpr const char* kLogName = "_FMLog_20261210.txt";

// File-monitor lines with varying times, paths, sizes and check values: compresses like a log.
std::string makeLog() {
  std::mt19937_64 generator(7);
  static constexpr char kHex[] = "0123456789abcdef";
  static constexpr const char* kActions[] = {"add", "modify", "delete", "rename", "block"};
  std::string log;
  log.reserve(kLogBytes + 256);
  char line[320];
  for (std::uint64_t n = 0; log.size() < kLogBytes; ++n) {
    const std::uint64_t r = generator();
    char digest[33];
    for (int i = 0; i < 32; ++i) digest[i] = kHex[(generator() >> 60) & 0xF];
    digest[32] = '\0';
    const int length = std::snprintf(
        line, sizeof line, "2026-12-10\t%02u:%02u:%02u\t%s\t/srv/www/site%u/uploads/2026/12/f%06u.%s\t%u\t%s\r\n",
        static_cast<unsigned>(n / 3600 % 24), static_cast<unsigned>(n / 60 % 60), static_cast<unsigned>(n % 60),
        kActions[r % 5], static_cast<unsigned>(r >> 40) % 8, static_cast<unsigned>(r >> 8) % 1000000,
        r % 3 ? "php" : "jpg", static_cast<unsigned>(r >> 20) % 200000, digest);
    log.append(line, static_cast<std::size_t>(length));
  }
  log.resize(kLogBytes);
  return log;
}

std::string deflated(const std::string& plain) {
  uLongf length = compressBound(static_cast<uLong>(plain.size()));
  std::string stream(length, '\0');
  compress2(reinterpret_cast<Bytef*>(stream.data()), &length, reinterpret_cast<const Bytef*>(plain.data()),
            static_cast<uLong>(plain.size()), 6);
  stream.resize(length);
  return stream;
}

// What any client must do with the stream: a fresh buffer, uncompress, crc32.
bool uncompressAndCheck(const std::string& stream, std::uint32_t expectedCrc) {
  const std::unique_ptr<Bytef[]> buffer(new Bytef[kLogBytes + 10]);
  uLongf length = kLogBytes + 10;
  if (uncompress(buffer.get(), &length, reinterpret_cast<const Bytef*>(stream.data()),
                 static_cast<uLong>(stream.size())) != Z_OK ||
      length != kLogBytes) {
    return false;
  }
  return crc32_z(crc32(0L, Z_NULL, 0), buffer.get(), length) == expectedCrc;
}

}  // namespace

int main() {
  const fs::path dir = bench::makeScratchDirectory("agent-fetch");
  bool ok = false;
  try {
    const std::string log = makeLog();
    std::ofstream(dir / kLogName, std::ios::binary) << log;
    const std::string stream = deflated(log);
    const auto crc = static_cast<std::uint32_t>(
        crc32_z(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(log.data()), log.size()));
    std::printf("log of %zu bytes, zlib stream of %zu bytes\n", log.size(), stream.size());

    ScriptedLogAgent agent({"--dir", dir.string(), "--password", "pw"});
    AgentSession session;
    const AgentLogFile file{kLogName, std::to_string(kLogBytes), std::to_string(crc)};
    std::string content;
    ok = qevOpenAgentSession("127.0.0.1", agent.port(), "pw", session) == 1;
    // Rounds alternate, so a busy moment of the machine does not favour one side.
    double fetch = -1;
    double reference = -1;
    for (int round = 0; round < 3 && ok; ++round) {
      const double fetched = bench::bestOf([&] { return qevFetchAgentLogFile(session, file, content) == 1; }, 1);
      const double inMemory = bench::bestOf([&] { return uncompressAndCheck(stream, crc); }, 1);
      ok = fetched > 0 && inMemory > 0;
      if (fetch < 0 || fetched < fetch) fetch = fetched;
      if (reference < 0 || inMemory < reference) reference = inMemory;
    }
    if (fetch > 0 && reference > 0) {
      std::printf("fetch %.0f MB/s, uncompress + crc32 in memory %.0f MB/s (MB of the log)\n", kLogBytes / fetch / 1e6,
                  kLogBytes / reference / 1e6);
    }
    ok = bench::printRatio("fetch of a 104,857,600-byte log over 127.0.0.1", "uncompress+crc32", fetch, reference) &&
         content == log;
  } catch (const std::exception& error) {
    std::printf("agent fetch: %s\n", error.what());
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
