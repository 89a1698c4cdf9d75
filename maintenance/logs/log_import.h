#pragma once
#include <string>
#include <string_view>
#include <vector>

// The import of a downloaded file-monitor log into table fmlog (line format: log_lines.h).

// The rows of one log file, ready for the store: the file's text and its used lines, in order.
// The lines point into text, so a batch stays where it was filled.
struct LogImportBatch {
  LogImportBatch() = default;
  LogImportBatch(const LogImportBatch&) = delete;
  LogImportBatch& operator=(const LogImportBatch&) = delete;

  std::string fid;       // the full local path of the file: the fid of every row
  std::string serverIp;  // serip of every row
  std::string text;
  std::vector<std::string_view> lines;
};

// Reads the whole file (1..104,857,599 bytes) and takes its used lines into batch. 1 when the
// file could be read (even if no line was usable), 0 otherwise (batch emptied).
int qevParseLogFile(const std::string& serverIp, const std::string& path, LogImportBatch& batch);

// Replaces the rows of the batch's file in one transaction: deletes every fmlog row whose fid is
// the file's path, then inserts one row per line, every value bound to one prepared insert, so
// an apostrophe or any other byte of a field is stored as it is. 1 committed; 0 failed, and
// then the file's rows are as they were before.
int qevExecuteSqlBatch(const LogImportBatch& batch);

// Parses and, when the file could be read, stores it. 1 when the file could be read (whatever
// the store did), 0 otherwise; stored tells whether the rows were committed.
int qevImportLogFile(const std::string& serverIp, const std::string& path, bool* stored = nullptr);
