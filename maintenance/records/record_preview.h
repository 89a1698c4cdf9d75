#pragma once
#include <cstdint>
#include <string>

// The preview of a clicked list row, from its path (column 6), kind (column 2) and record id
// (column 7) texts. Directories are named without touching the data store; a file is read whole
// (at most 31,457,279 bytes) with its control bytes blanked. An empty text means an empty preview.
std::string qevRecordPreviewText(const std::string& path, const std::string& kind, const std::string& recordId);

inline constexpr std::uint64_t kMaxPreviewBytes = 31457279;
