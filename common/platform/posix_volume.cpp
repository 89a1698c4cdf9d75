#include "common/platform/volume.h"

#include <fstream>
#include <sstream>

namespace sorrel::platform {

namespace {

// mountinfo writes blanks, tabs, newlines and backslashes of a path as \ooo.
std::string decodeOctalEscapes(const std::string& field) {
  std::string decoded;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const bool escape = field[i] == '\\' && i + 3 < field.size();
    if (escape && field[i + 1] >= '0' && field[i + 1] <= '3' && field[i + 2] >= '0' &&
        field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
      decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

bool isLeadingDirectory(const std::string& mountPath, const std::string& path) {
  if (mountPath == "/") return !path.empty() && path.front() == '/';
  if (path.compare(0, mountPath.size(), mountPath) != 0) return false;
  return path.size() == mountPath.size() || path[mountPath.size()] == '/';
}

}  // namespace

std::vector<MountPoint> parseMountInfo(const std::string& text) {
  std::vector<MountPoint> table;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string mountId, parentId, device, root, mountPath;
    if (!(fields >> mountId >> parentId >> device >> root >> mountPath)) continue;
    MountPoint point;
    point.path = decodeOctalEscapes(mountPath);
    if (point.path.empty() || point.path.front() != '/') continue;
    table.push_back(point);
  }
  return table;
}

std::vector<MountPoint> readMountTable() {
  std::ifstream file("/proc/self/mountinfo");
  std::stringstream text;
  text << file.rdbuf();
  return parseMountInfo(text.str());
}

bool findVolume(const std::vector<MountPoint>& table, const std::string& path, MountPoint& volume) {
  bool found = false;
  for (const MountPoint& point : table) {
    if (!isLeadingDirectory(point.path, path)) continue;
    if (!found || point.path.size() >= volume.path.size()) {
      volume = point;
      found = true;
    }
  }
  return found;
}

bool hasMountPointAtOrBelow(const std::vector<MountPoint>& table, const std::string& path) {
  for (const MountPoint& point : table) {
    if (isLeadingDirectory(path, point.path)) return true;
  }
  return false;
}

}  // namespace sorrel::platform
