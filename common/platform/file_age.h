#pragma once
#include <cstdint>
#include <string>

namespace sorrel::platform {

// Whole days (86,400-second units, rounded down) since the plain file at path was last written.
// Linux keeps no creation time that tools can set or copy, so the time of the last write stands
// for it: files aged this way are written once and never changed. A time in the future gives a
// negative age. False for a missing entry, a link (never followed) or anything but a plain file.
bool fileAgeInDays(const std::string& path, std::int64_t& days);

}  // namespace sorrel::platform
