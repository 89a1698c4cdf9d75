#include "common/platform/system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <climits>
#include <thread>
#include <vector>

namespace sorrel::platform {

bool executablePath(std::string& path) {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size() - 1) return false;
  path.assign(buffer.data(), static_cast<std::size_t>(length));
  return true;
}

bool entryExists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::tm localTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

PathState pathState(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? PathState::Directory : PathState::NotDirectory;
  return errno == ENOENT || errno == ENOTDIR ? PathState::Missing : PathState::Inaccessible;
}

bool resolvedPath(const std::string& path, std::string& resolved) {
  char* real = realpath(path.c_str(), nullptr);
  if (real == nullptr) return false;
  resolved = real;
  std::free(real);
  return true;
}

bool makeDirectory(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

void sleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool currentDirectory(std::string& path) {
  path.clear();
  std::vector<char> buffer(PATH_MAX + 1);
  if (getcwd(buffer.data(), buffer.size()) == nullptr) return false;
  path = buffer.data();
  return !path.empty() && path.front() == '/';
}

bool readFileInChunks(const std::string& path, std::uint64_t maxBytes,
                      const std::function<void(const char* bytes, std::size_t count)>& consume) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
            static_cast<std::uint64_t>(info.st_size) <= maxBytes;
  const auto expected = static_cast<std::uint64_t>(info.st_size);
  std::uint64_t total = 0;
  std::vector<char> buffer(1 << 20);
  while (ok) {
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got < 0) ok = false;
    if (got <= 0) break;
    total += static_cast<std::uint64_t>(got);
    if (total > expected) ok = false;
    else consume(buffer.data(), static_cast<std::size_t>(got));
  }
  close(fd);
  return ok && total == expected;
}

}  // namespace sorrel::platform
