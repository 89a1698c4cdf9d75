#pragma once
#include <cstdint>
#include <string>

// Appends "%Y-%m-%d %H:%M:%S - " + text + "\r\n" to <program directory>/<subfolder>/<fileName>,
// emptying the file first when it is longer than sizeLimit. Texts of 10 bytes or fewer are never
// logged. 1 if the line was written, else 0.
int qevWriteRunLog(const std::string& text, const std::string& subfolder,
                   const std::string& fileName, std::uint64_t sizeLimit);

inline constexpr std::uint64_t kRunLogLimit = 1048576;
inline constexpr const char* kScannerRunLog = "__Sorrelscan.log";
