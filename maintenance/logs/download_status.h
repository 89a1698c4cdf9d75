#pragma once
#include <string>
#include <vector>

// The rows of table downloadinfo as the download status window lists them.
struct DownloadStatusRow {
  std::string ip;
  std::string filename;
  std::string filesize;  // as stored
  std::string status;    // code as stored
  std::string adddb;     // code as stored
};

inline constexpr std::size_t kDownloadStatusSlots = 9'999;

// "select * from downloadinfo order by ip asc,filename asc": at most 9,999 rows, a NULL value as
// "". 1 read (also when empty); 0 failure, rows emptied.
int qevLoadDownloadStatusRows(std::vector<DownloadStatusRow>& rows);

// "下载成功" for "1", "下载失败" for "0" and "4", "下载中" for "3", "未处理" for "5", else "未知状态".
std::string qevDownloadStatusText(const std::string& status);
// "已经导入数据库" for "1", "导入失败" for "2", else "未处理".
std::string qevImportStatusText(const std::string& adddb);
