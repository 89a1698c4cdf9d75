#pragma once
#include <functional>
#include <string>

#include "common/messages/operator_message.h"

using MessageFunction = std::function<void(const std::string& text, MessageIcon icon)>;

inline constexpr const char* kBackupRootName = "qev_dot_file_backup";
inline constexpr const char* kAccessToolName = "qevxconfig";

// "<volume root>/qev_dot_file_backup/" — entries below it are never cleaned again.
std::string qevBackupRootOf(const std::string& volumeRoot);

// Makes sure <volume root>/qev_dot_file_backup/<date>/<time> exists. Right after creating it,
// the access-rights tool qevxconfig is verified and started on it when it is present (skipped
// silently when absent). 1 with the directory, or 0 after showing a message.
int qevPrepareBackupDirectory(const std::string& volumeRoot, const std::string& date,
                              const std::string& time, std::string& directory,
                              const MessageFunction& show);
