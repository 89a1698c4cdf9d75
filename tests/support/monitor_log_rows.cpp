#include "support/monitor_log_rows.h"

#include <gtest/gtest.h>

#include "common/store/datastore.h"

namespace {
std::string quoted(const std::string& value) { return "'" + qevSqlQuote(value) + "'"; }
}  // namespace

std::string insertMonitorLogRow(const LogRowFields& f) {
  const std::string statement =
      "insert into fmlog(fid,serip,regdate,regtime,fileextname,fileaction,chkfile,chkfileinfo,blockfile,"
      "blockfileinfo,filename,filesize,filechkvalue,filetype) values (" +
      quoted("/opt/qev_log_file/fmlog/_" + f.serverIp + "_fmlog_20261210.txt") + ", " + quoted(f.serverIp) + ", " +
      quoted(f.date) + ", " + quoted(f.time) + ", '.php', " + quoted(f.action) + ", '1', " + quoted(f.category) +
      ", '0', " + quoted(f.blockInfo) + ", " + quoted(f.path) + ", " + quoted(f.size) + ", " +
      quoted(f.checkValue) + ", '1')";
  EXPECT_EQ(qevExecuteSql(statement), 1) << statement;
  std::string key;
  EXPECT_EQ(qevReadFirstValue("select max(id) as newest from fmlog", "newest", key), 1);
  return key;
}
