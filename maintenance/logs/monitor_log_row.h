#pragma once
#include <string>

// One imported line of a file-monitor log: a row of table fmlog, texts as stored.
struct MonitorLogRow {
  std::string key;         // id: the row's key
  std::string logFile;     // fid: the local log file the row came from
  std::string serverIp;    // serip
  std::string date;        // regdate
  std::string time;        // regtime
  std::string extension;   // fileextname
  std::string action;      // fileaction
  std::string check;       // chkfile
  std::string category;    // chkfileinfo
  std::string block;       // blockfile
  std::string blockInfo;   // blockfileinfo
  std::string path;        // filename: the monitored file's path
  std::string size;        // filesize
  std::string checkValue;  // filechkvalue
  std::string type;        // filetype
};

// The columns of the monitor-log view. The whitelist and report commands read the path from
// column 4, the category from column 5 and the row's key from column 8.
namespace monitor_log_column {
inline constexpr int kNumber = 0;  // row number from 1, with the check box
inline constexpr int kServerIp = 1;
inline constexpr int kTime = 2;  // date and time of the event
inline constexpr int kAction = 3;
inline constexpr int kPath = 4;
inline constexpr int kCategory = 5;
inline constexpr int kBlockInfo = 6;
inline constexpr int kSize = 7;
inline constexpr int kKey = 8;
inline constexpr int kCount = 9;
}  // namespace monitor_log_column

// The text of a view column for the row ("" for the number column, which the list numbers).
std::string qevMonitorLogCellText(const MonitorLogRow& row, int column);

// Categories (chkfileinfo) of the display filters. The suspicious category is compared whole,
// without regard to ASCII case; the whitelist and trojan categories by the word they contain.
inline constexpr const char* kSuspiciousCategoryText = "可疑文件（包含可疑关键字）";
inline constexpr const char* kWhitelistCategoryWord = "白名单";
inline constexpr const char* kTrojanCategoryWord = "木马";
