#pragma once
#include <string>
#include <vector>

// Where downloaded logs are kept: <program directory>qev_log_file/fmlog. A server's file is
// stored there as "_" + server ip + "_" + the name the agent listed.

// The directory (not created here); "" when the program directory is unknown.
std::string qevDownloadDirectory();

// 1 and the local path of a listed file of a server; 0 when "_" + ip + "_" + name is not one
// plain file name (a "/", "\", "..", a control character, more than 255 bytes), so that no
// name or ip from outside can reach another directory.
int qevLocalLogPath(const std::string& directory, const std::string& ip, const std::string& name, std::string& path);

// Stores content under path: written to a temporary name beside it, flushed and renamed into
// place, so the name holds the old file or the whole new one, never a part. 1 stored, 0 not.
int qevStoreDownloadedLog(const std::string& path, const std::string& content);

// The downloaded logs of the directory: names matching "_*_fmlog_20*.txt" without regard to
// letter case, in listing order. 1 when at least one was found, 0 none.
int qevFindDownloadedLogs(const std::string& directory, std::vector<std::string>& paths);

// Deletes every downloaded log of the directory (failures are passed over); answers how many
// were deleted.
int qevDeleteDownloadedLogs(const std::string& directory);
