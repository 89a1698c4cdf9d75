#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The log files an agent hands out: every regular file directly in one directory, with its
// size, CRC-32 and zlib stream made once and kept until the file changes.
struct LogFile {
  std::string name;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::shared_ptr<const std::string> plain;
  std::shared_ptr<const std::string> compressed;
};

class LogDirectory {
 public:
  LogDirectory(std::string directory, int level) : directory_(std::move(directory)), level_(level) {}

  // The files as they are now, in name order (files that cannot be read are left out).
  std::vector<LogFile> files();
  // The file of that name; false when there is none.
  bool find(const std::string& name, LogFile& file);

 private:
  struct Cached {
    std::int64_t modified = 0;
    LogFile file;
  };
  bool load(const std::string& name, Cached& cached);

  std::string directory_;
  int level_;
  std::mutex mutex_;
  std::map<std::string, Cached> cache_;
};
