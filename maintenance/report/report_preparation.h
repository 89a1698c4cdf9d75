#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Prompter;

// The report of suspicious files: a copy of each chosen monitored file, scrambled with the key
// text and Base64-encoded, in <program directory>ReportFile, recorded in table reportfile with
// status "2" (waiting to be sent) for the report sender.

inline constexpr const char* kReportKeyText = "TqvLmZrkWcXnaVbKpeHsJduGfY";
inline constexpr std::uint64_t kMaxReportedFileBytes = 511999;
inline constexpr const char* kReportWaitingStatus = "2";

// Prepares the report of the monitor-log rows with these keys (fmlog id). First removes the
// copies 3 days old or older. A row is reported when its file (the logged path) is a file of 1
// to 511,999 bytes whose check value equals the one logged, and no earlier report of that check
// value has a status; any other row is passed over silently. A copy whose reportfile row cannot
// be written is removed again and not counted.
// 1 with count: the copies made now, or, when none, the copies still waiting ("2") from earlier
// reports (0 when that count cannot be read); 0 after telling the operator why (the program
// directory or the report directory cannot be used).
int qevPrepareReport(Prompter& prompter, const std::vector<std::string>& rowKeys, int& count);
