#include "log_directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <zlib.h>

#include <fstream>
#include <iterator>

namespace {

bool statRegular(const std::string& path, std::uint64_t& size, std::int64_t& modified) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size = static_cast<std::uint64_t>(info.st_size);
  modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
  return true;
}

std::string compressed(const std::string& plain, int level) {
  uLongf length = compressBound(static_cast<uLong>(plain.size()));
  std::string stream(length, '\0');
  if (compress2(reinterpret_cast<Bytef*>(stream.data()), &length, reinterpret_cast<const Bytef*>(plain.data()),
                static_cast<uLong>(plain.size()), level) != Z_OK) {
    return {};
  }
  stream.resize(length);
  return stream;
}

}  // namespace

bool LogDirectory::load(const std::string& name, Cached& cached) {
  const std::string path = directory_ + "/" + name;
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  if (!statRegular(path, size, modified)) return false;
  if (cached.file.plain && cached.modified == modified && cached.file.size == size) return true;
  std::ifstream in(path, std::ios::binary);
  auto plain = std::make_shared<std::string>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) return false;
  cached.modified = modified;
  cached.file.name = name;
  cached.file.size = plain->size();
  cached.file.crc = static_cast<std::uint32_t>(
      crc32_z(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(plain->data()), plain->size()));
  cached.file.compressed = std::make_shared<const std::string>(compressed(*plain, level_));
  cached.file.plain = std::move(plain);
  return true;
}

std::vector<LogFile> LogDirectory::files() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(directory_.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  std::vector<LogFile> found;
  const std::lock_guard<std::mutex> lock(mutex_);
  std::map<std::string, Cached> kept;
  for (const std::string& name : names) {
    Cached cached = cache_.count(name) ? cache_[name] : Cached{};
    if (load(name, cached)) kept[name] = cached;
  }
  cache_ = std::move(kept);
  for (const auto& [name, cached] : cache_) found.push_back(cached.file);
  return found;
}

bool LogDirectory::find(const std::string& name, LogFile& file) {
  for (const LogFile& listed : files()) {
    if (listed.name == name) {
      file = listed;
      return true;
    }
  }
  return false;
}
