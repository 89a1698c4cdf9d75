#pragma once
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

// The line format of a file-monitor log: lines separated by runs of CR and LF, fields by TAB,
// numbered from 0. A line is used when it is 10 to 10,240 bytes long and has at least 14
// fields; fields 0 and 5 and those beyond 13 are not kept. Fields are taken as they are, not
// trimmed, and may hold any byte but TAB, CR and LF.

inline constexpr std::size_t kMinLogLine = 10;
inline constexpr std::size_t kMaxLogLine = 10'240;

// The kept fields of a used line, in the order of their fmlog columns: regdate (field 1),
// regtime (2), fileextname (3), fileaction (4), chkfile (6), chkfileinfo (7), blockfile (8),
// blockfileinfo (9), filename (10), filesize (11), filechkvalue (12), filetype (13).
inline constexpr std::size_t kKeptLogFields = 12;
using LogLineFields = std::array<std::string_view, kKeptLogFields>;

// True and the kept fields when the line is used; the views point into line.
bool qevSplitLogLine(std::string_view line, LogLineFields& fields);

// The used lines of a log text, in order; the views point into text.
std::vector<std::string_view> qevUsedLogLines(std::string_view text);
