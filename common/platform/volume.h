#pragma once
#include <string>
#include <vector>

// The volume of an entry is the file system that holds it; its root is the mount point.
namespace sorrel::platform {

struct MountPoint {
  std::string path;  // mount point, octal escapes of mountinfo decoded
};

// The mount table of this process (/proc/self/mountinfo), in file order.
std::vector<MountPoint> readMountTable();

// Parses mountinfo text; lines that do not parse are skipped.
std::vector<MountPoint> parseMountInfo(const std::string& text);

// The mount point that holds an absolute path: the longest mount point that is the path itself
// or one of its leading directories (the later of equal mount points, which hides the earlier).
// False when none matches.
bool findVolume(const std::vector<MountPoint>& table, const std::string& path, MountPoint& volume);

// True when a mount point of the table is the path itself or lies anywhere below it: moving the
// entry would carry another file system along.
bool hasMountPointAtOrBelow(const std::vector<MountPoint>& table, const std::string& path);

}  // namespace sorrel::platform
