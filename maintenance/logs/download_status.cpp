#include "maintenance/logs/download_status.h"

#include "common/store/datastore.h"

int qevLoadDownloadStatusRows(std::vector<DownloadStatusRow>& rows) {
  rows.clear();
  const int result =
      qevQueryRows("select * from downloadinfo order by ip asc,filename asc", [&rows](const StoreRow& stored) {
        DownloadStatusRow row;
        stored.text("ip", row.ip);
        stored.text("filename", row.filename);
        stored.text("filesize", row.filesize);
        stored.text("status", row.status);
        stored.text("adddb", row.adddb);
        rows.push_back(std::move(row));
        return rows.size() < kDownloadStatusSlots;
      });
  if (result != 1) rows.clear();
  return result == 1 ? 1 : 0;
}

std::string qevDownloadStatusText(const std::string& status) {
  if (status == "1") return "下载成功";
  if (status == "0" || status == "4") return "下载失败";
  if (status == "3") return "下载中";
  if (status == "5") return "未处理";
  return "未知状态";
}

std::string qevImportStatusText(const std::string& adddb) {
  if (adddb == "1") return "已经导入数据库";
  if (adddb == "2") return "导入失败";
  return "未处理";
}
