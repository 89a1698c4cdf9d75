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

// Device of the entry itself (links not followed); false when it does not exist. Comparing an
// entry's device with its mount point's tells whether the entry still lies on that volume.
bool entryDevice(const std::string& path, unsigned long long& device);

}  // namespace sorrel::platform
