#pragma once
#include <functional>
#include <string>
#include <vector>

#include "common/messages/operator_message.h"
#include "common/platform/directory_handle.h"

using MessageFunction = std::function<void(const std::string& text, MessageIcon icon)>;

inline constexpr const char* kBackupRootName = "qev_dot_file_backup";
inline constexpr const char* kAccessToolName = "qevxconfig";

// "<volume root>/qev_dot_file_backup/" — entries below it are never cleaned again.
std::string qevBackupRootOf(const std::string& volumeRoot);

// Directories as the operator texts name them: each in “”, joined by "、".
std::string qevQuotedDirectories(const std::vector<std::string>& directories);

// The backup directory of one volume for one cleaning pass.
struct BackupDirectory {
  std::string path;  // <volume root>/qev_dot_file_backup/<date>/<time>
  sorrel::platform::DirectoryHandle handle;  // opened from the volume root, no link followed
};

// Makes sure <volume root>/qev_dot_file_backup/<date>/<time> exists with every level a real
// directory of the volume, each created or opened relative to the one above without following a
// link: a link, a file or a mount point at any level refuses the directory. Right after creating
// <time>, the access-rights tool qevxconfig is verified and started on it when it is present
// (skipped silently when absent). 1 with the opened directory, or 0 after showing one message.
int qevPrepareBackupDirectory(const std::string& volumeRoot, const std::string& date,
                              const std::string& time, BackupDirectory& directory,
                              const MessageFunction& show);

// Moves name of directory from to levels[0]/levels[1]/.../name below the backup directory, never
// replacing an entry there. Every missing level is created; every level must be a real directory
// opened without following a link, else nothing moves (Failed).
sorrel::platform::DirectoryHandle::MoveResult qevMoveIntoBackup(const BackupDirectory& directory,
                                                                const std::vector<std::string>& levels,
                                                                const sorrel::platform::DirectoryHandle& from,
                                                                const std::string& name);
