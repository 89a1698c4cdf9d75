#pragma once
#include <string>
#include <vector>

// The fileinfo rows a cleaning pass handled (state '1'), by decoded path, so that a restore can
// give the rows of the entries it puts back their state as the scan recorded it: '0' and
// "未处理".
class CleanedRows {
 public:
  struct Row {
    std::string id;     // the row's id
    std::string path;   // decoded full path of the entry
    std::string state;  // its fileinfo text
  };

  // Reads every row in state '1'. False when the data store cannot be read.
  bool load();

  // Sets every loaded row whose path is one of places (or lies below one, with below) back to
  // '0' and "未处理", in one transaction; a row that changed state meanwhile is not touched.
  // Answers, place by place, the rows as they were, for undo(); all empty when the update failed.
  std::vector<std::vector<Row>> resetAt(const std::vector<std::string>& places, bool below);

  // Puts rows reset by resetAt back to '1' with their texts (the entry stayed where it was).
  void undo(const std::vector<Row>& rows);

  // The loaded rows whose path is place (or lies below it, with below).
  std::vector<Row> rowsAt(const std::string& place, bool below) const;

 private:
  std::vector<Row> rows_;  // sorted by path
};

inline constexpr const char* kNotHandledText = "未处理";
