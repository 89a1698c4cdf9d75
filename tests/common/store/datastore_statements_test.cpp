// Every statement the two programs issue, as they format it, runs against the delivered schema.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/store/datastore.h"
#include "support/program_dir.h"

namespace {

const std::string kScannerInsert =
    "insert into fileinfo(fid,regdate,filenameid,filename,filepath,filesize,filesize2,CompactDatabase,filechkval,"
    "fileinfo,filetype) values ('1', '2026-12-10', '0_20261210013400_8812345', 'YwBvAG4ALgB0AHgAdAA=', "
    "'LwBzAHIAdgAvAGMAbwBuAC4AdAB4AHQA', 5000000000, 0, '0', '0cc175b9c0f1b6a831c399e269772661', '未处理',1)";
const std::string kSecondRow =
    "insert into fileinfo(fid,regdate,filenameid,filename,filepath,filesize,filesize2,CompactDatabase,filechkval,"
    "fileinfo,filetype) values ('1', '2026-12-10', '1_20261210013401_8812399', 'ZABpAHIA', 'LwBkAGkAcgA=', 0, 0, "
    "'0', '92eb5ffee6ae2fec3ad71c777531578f', '未处理',2)";
const std::string kFmlogInsert =
    "insert into fmlog(fid,serip,regdate,regtime,fileextname,fileaction,chkfile,chkfileinfo,blockfile,blockfileinfo,"
    "filename,filesize,filechkvalue,filetype) values ('/opt/sorrel/qev_log_file/fmlog/10.0.0.7/a.log', "
    "'10.0.0.7', '2026-12-10', '01:34:00', 'asp', '1', '1', 'x', '0', 'y', 'shell.asp', '2048', "
    "'4a8a08f09d37b73795649038408b5f33', '1')";
const std::string kDownloadInsert =
    "insert into downloadinfo (ip,filename,filesize,status,adddb) values('10.0.0.7','a.log','2048','1','0')";
const std::string kServerInsert =
    "insert into serverip(ip,port,username,password,remark) values ('10.0.0.7','8010','admin','pw','web 1')";
const std::string kReportInsert =
    "insert into reportfile(filechkval,newfilechkval,reportstatus) values "
    "('4a8a08f09d37b73795649038408b5f33', '8277e0910d750195b448797616e091ad', '2')";

struct Case {
  const char* name;
  std::vector<std::string> setup;
  std::string statement;
  // For a statement that changes rows: a count query whose "n" must equal expected. Empty for a
  // query: then expected is the number of rows it gives.
  std::string check;
  std::string expected;
};

const Case kCases[] = {
    // Scanner
    {"scanner insert, 64-bit size, local time filled in",
     {},
     kScannerInsert,
     "select count(*) as n from fileinfo where filesize = 5000000000 and filesize2 = 0 and filetype = 1 and "
     "CompactDatabase = '0' and fileinfo = '未处理' and filetime like '____-__-__ __:__:__'",
     "1"},
    {"scanner and clear records: delete from fileinfo", {kScannerInsert, kSecondRow}, "delete from fileinfo",
     "select count(*) as n from fileinfo", "0"},
    // Record list and preview
    {"record list, initial order", {kScannerInsert, kSecondRow},
     "select top 10000 * from fileinfo order by filetype asc, filename asc, filename asc", "", "2"},
    {"record list, every sort column", {kScannerInsert, kSecondRow},
     "select top 10000 * from fileinfo order by filepath desc, filetime asc, filesize desc", "", "2"},
    {"record list, state column", {kScannerInsert}, "select top 10000 * from fileinfo order by fileinfo desc, "
     "filename asc, filename asc", "", "1"},
    {"record preview and path lookup", {kScannerInsert, kSecondRow},
     "select * from fileinfo where filenameid = '1_20261210013401_8812399' order by id desc", "", "1"},
    // Cleaning and compaction
    {"cleaning resets every row", {kScannerInsert, kSecondRow, "update fileinfo set CompactDatabase = '2'"},
     "update fileinfo set CompactDatabase = '0'", "select count(*) as n from fileinfo where CompactDatabase = '0'",
     "2"},
    {"cleaning marks one record", {kScannerInsert, kSecondRow},
     "update fileinfo set CompactDatabase = '2', filesize2 = '0' where filenameid = '0_20261210013400_8812345'",
     "select count(*) as n from fileinfo where CompactDatabase = '2' and filesize2 = 0", "1"},
    {"cleaning worker reads the marked rows", {kScannerInsert, kSecondRow, "update fileinfo set CompactDatabase = '2'"},
     "select * from fileinfo where CompactDatabase = '2' order by id asc", "", "2"},
    {"cleaning worker: moved", {kScannerInsert, kSecondRow},
     "update fileinfo set CompactDatabase = '1', fileinfo = '已清理；已移动到备份目录' where filepath = "
     "'LwBzAHIAdgAvAGMAbwBuAC4AdAB4AHQA'",
     "select count(*) as n from fileinfo where CompactDatabase = '1' and fileinfo = '已清理；已移动到备份目录'", "1"},
    {"cleaning worker: missing", {kScannerInsert, kSecondRow},
     "update fileinfo set CompactDatabase = '1', fileinfo = '已清理；文件或路径不存在，可能在这之前已经动到备份目录' "
     "where filepath = 'LwBkAGkAcgA='",
     "select count(*) as n from fileinfo where CompactDatabase = '1' and filetype = 2", "1"},
    {"compaction marks every row", {kScannerInsert, kSecondRow},
     "update fileinfo set CompactDatabase = '2', filesize2 = '0'",
     "select count(*) as n from fileinfo where CompactDatabase = '2'", "2"},
    // Server list
    {"server add", {}, kServerInsert,
     "select count(*) as n from serverip where ip = '10.0.0.7' and port = '8010' and remark = 'web 1'", "1"},
    {"server load", {kServerInsert}, "select * from serverip order by ip asc", "", "1"},
    {"server exists", {kServerInsert}, "select * from serverip where ip = '10.0.0.7'", "", "1"},
    {"server delete one", {kServerInsert}, "delete from serverip where ip = '10.0.0.7'",
     "select count(*) as n from serverip", "0"},
    {"server delete all", {kServerInsert}, "delete from serverip", "select count(*) as n from serverip", "0"},
    // Downloads
    {"download recorded, quoted numbers into the numeric size", {}, kDownloadInsert,
     "select count(*) as n from downloadinfo where filesize = 2048 and status = '1' and adddb = '0'", "1"},
    {"download already fetched", {kDownloadInsert},
     "select * from downloadinfo where ip = '10.0.0.7' and filename = 'a.log' and status = '1'", "", "1"},
    {"download placeholder lookup by unquoted size",
     {"insert into downloadinfo (ip,filename,filesize,status,adddb) values('10.0.0.7','a.log','0','3','0')"},
     "select * from downloadinfo where ip = '10.0.0.7' and filename = 'a.log' and filesize = 0", "", "1"},
    {"download marked fetched", {kDownloadInsert},
     "update downloadinfo set filesize = '4096' ,status = '1' where ip = '10.0.0.7' and filename = 'a.log'",
     "select count(*) as n from downloadinfo where filesize = 4096", "1"},
    {"re-import lookup", {kDownloadInsert},
     "select * from downloadinfo where ip = '10.0.0.7' and filename = 'a.log' and adddb = '1'", "", "0"},
    {"status window", {kDownloadInsert}, "select * from downloadinfo order by ip asc,filename asc", "", "1"},
    {"clear downloads", {kDownloadInsert}, "delete from downloadinfo", "select count(*) as n from downloadinfo", "0"},
    // Log import and view
    {"log line imported", {}, kFmlogInsert,
     "select count(*) as n from fmlog where filechkvalue = '4a8a08f09d37b73795649038408b5f33'", "1"},
    {"log view", {kFmlogInsert}, "select * from fmlog order by regtime desc", "", "1"},
    {"fmlog lookup", {kFmlogInsert}, "select * from fmlog where filechkvalue = '4a8a08f09d37b73795649038408b5f33'",
     "", "1"},
    {"clear log records", {kFmlogInsert}, "delete from fmlog", "select count(*) as n from fmlog", "0"},
    // Report
    {"report copy recorded", {}, kReportInsert,
     "select count(*) as n from reportfile where reportstatus = '2' and "
     "newfilechkval = '8277e0910d750195b448797616e091ad'",
     "1"},
    {"earlier report lookup", {kReportInsert},
     "select * from reportfile where filechkval = '4a8a08f09d37b73795649038408b5f33' order by id desc", "", "1"},
};

TEST(StoreStatements, EveryStatementOfThePrograms) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TemporaryProgramDir dir;  // a fresh copy of the delivered store
    for (const std::string& statement : c.setup) ASSERT_EQ(qevExecuteSql(statement), 1) << statement;
    if (c.check.empty()) {
      int rows = 0;
      ASSERT_EQ(qevQueryRows(c.statement, [&](const StoreRow&) { return ++rows > 0; }), 1);
      EXPECT_EQ(std::to_string(rows), c.expected);
    } else {
      ASSERT_EQ(qevExecuteSql(c.statement), 1);
      std::string count;
      ASSERT_EQ(qevReadFirstValue(c.check, "n", count), 1);
      EXPECT_EQ(count, c.expected);
    }
  }
}

TEST(StoreStatements, WaitingReportCountUsesItsAlias) {
  TemporaryProgramDir dir;
  ASSERT_EQ(qevExecuteSql(kReportInsert), 1);
  std::string count;
  EXPECT_EQ(qevReadFirstValue("select count(*) as tfilenum from reportfile where reportstatus = '2'", "tfilenum",
                              count),
            1);
  EXPECT_EQ(count, "1");
}

}  // namespace
