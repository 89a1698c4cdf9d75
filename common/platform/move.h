#pragma once
#include <string>

namespace sorrel::platform {

// renameat2(RENAME_NOREPLACE) of absolute byte paths; true when moved.
bool renameNoReplace(const std::string& from, const std::string& to);

// True when both entries exist (links not followed) and lie on the same device.
bool sameDevice(const std::string& entry, const std::string& other);

}  // namespace sorrel::platform
