#pragma once
#include <cstdint>
#include <string>

// A backup directory of one cleaning pass: <volume root>/qev_dot_file_backup/<date>/<time>, on
// the file system mounted at that volume root. An entry in it sits at the same path below the
// backup directory as it had below the volume root.
struct BackupLocation {
  std::string directory;   // absolute, no "//" and no trailing "/"
  std::string volumeRoot;  // the mount point that holds the directory
  std::string date;        // "%Y-%m-%d"
  std::string time;        // "%H-%M-%S"
  std::uint64_t device = 0;
};

enum class BackupLocationCheck {
  Usable,
  NotABackupDirectory,  // not of that shape below its own volume root, or reached through a link
  Missing,              // of that shape, but there is no such directory
};

// Checks an absolute path (repeated and trailing "/" allowed; "." and ".." components are not):
// it must be exactly qev_dot_file_backup/<date>/<time> below the mount point that holds it,
// date and time in the forms a cleaning pass writes, and every level from the volume root down
// a directory, never a link, on the volume's file system. Looks at the tree, changes nothing.
BackupLocationCheck qevLocateBackupDirectory(const std::string& path, BackupLocation& location);
