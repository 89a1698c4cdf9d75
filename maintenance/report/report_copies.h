#pragma once
#include <cstdint>
#include <string>

// The report copies in <program directory>ReportFile: "file" + the check value of the source
// file + ".dat", written for the report sender and removed once they are old.

inline constexpr const char* kReportDirectoryName = "ReportFile";
inline constexpr std::int64_t kReportCopyMaxAgeDays = 3;

// <programDir>ReportFile, separators collapsed.
std::string qevReportDirectoryOf(const std::string& programDir);

// <reportDir>/file<checkValue>.dat
std::string qevReportCopyPath(const std::string& reportDir, const std::string& checkValue);

// Removes every plain file "file*.dat" of the report directory that is 3 days old or older.
// Directories and links stay, and so does a file whose age cannot be read.
void qevRemoveOldReportCopies(const std::string& reportDir);
