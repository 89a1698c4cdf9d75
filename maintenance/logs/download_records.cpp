#include "maintenance/logs/download_records.h"

#include "common/store/bound_statements.h"

namespace {

int rowMatches(const std::string& statement, const std::vector<std::string>& values) {
  bool found = false;
  const int result = qevQueryBound(statement, values, [&found](const StoreRow&) {
    found = true;
    return false;
  });
  if (result != 1) return 0;
  return found ? 1 : 2;
}

}  // namespace

int qevIsLogFetched(const std::string& ip, const std::string& name) {
  return rowMatches("select * from downloadinfo where ip = ? and filename = ? and status = '1'", {ip, name});
}

int qevHasLogPlaceholder(const std::string& ip, const std::string& name) {
  return rowMatches("select * from downloadinfo where ip = ? and filename = ? and filesize = 0", {ip, name});
}

int qevIsLogImported(const std::string& ip, const std::string& name) {
  return rowMatches("select * from downloadinfo where ip = ? and filename = ? and adddb = '1'", {ip, name});
}

int qevMarkLogFetched(const std::string& ip, const std::string& name, std::uint64_t size) {
  return qevExecuteBound("update downloadinfo set filesize = ?, status = '1' where ip = ? and filename = ?",
                         {std::to_string(size), ip, name});
}

int qevRecordLogFetched(const std::string& ip, const std::string& name, std::uint64_t size) {
  return qevExecuteBound("insert into downloadinfo (ip,filename,filesize,status,adddb) values (?, ?, ?, '1', '0')",
                         {ip, name, std::to_string(size)});
}

int qevRecordDownload(const std::string& ip, const std::string& name, std::uint64_t size) {
  switch (qevHasLogPlaceholder(ip, name)) {
    case 1: return qevMarkLogFetched(ip, name, size);
    case 2: return qevRecordLogFetched(ip, name, size);
    default: return 0;
  }
}

int qevClearDownloadRows() { return qevExecuteBound("delete from downloadinfo", {}); }

int qevClearLogRows() { return qevExecuteBound("delete from fmlog", {}); }
