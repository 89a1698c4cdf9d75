// The monitor-log view's query: newest first, the order of a header click, every filter of the
// log query and the display filters, with operator texts that hold quotes and wildcards matched
// as typed, and the distinct values the drop-down lists offer.
#include "maintenance/logs/monitor_log_query.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/store/datastore.h"
#include "maintenance/logs/monitor_log_choices.h"
#include "support/monitor_log_rows.h"
#include "support/program_dir.h"

namespace {

using namespace monitor_log_column;

std::vector<std::string> pathsOf(const MonitorLogFilter& filter, const MonitorLogOrder& order = {}) {
  std::vector<MonitorLogRow> rows;
  EXPECT_EQ(qevLoadMonitorLog(filter, order, rows), 1) << qevMonitorLogQuery(filter, order);
  std::vector<std::string> paths;
  for (const MonitorLogRow& row : rows) paths.push_back(row.path);
  return paths;
}

LogRowFields rowAt(const std::string& date, const std::string& time, const std::string& path) {
  LogRowFields fields;
  fields.date = date;
  fields.time = time;
  fields.path = path;
  return fields;
}

LogRowFields sizedRow(const std::string& path, const std::string& size) {
  LogRowFields fields;
  fields.path = path;
  fields.size = size;
  return fields;
}

class MonitorLogQueryTest : public ::testing::Test {
 protected:
  TemporaryProgramDir programDir;
};

TEST_F(MonitorLogQueryTest, RowsComeNewestFirstWithEveryColumnOfTheView) {
  insertMonitorLogRow(rowAt("2026-12-09", "23:59:59", "/a/yesterday.php"));
  insertMonitorLogRow(rowAt("2026-12-10", "08:00:00", "/a/morning.php"));
  insertMonitorLogRow(rowAt("2026-12-10", "18:00:00", "/a/evening.php"));
  LogRowFields later = rowAt("2026-12-10", "08:00:00", "/a/same-time-later.php");
  later.serverIp = "10.0.0.7";
  later.action = "修改";
  later.category = kSuspiciousCategoryText;
  later.blockInfo = "eval(";
  later.size = "2048";
  const std::string key = insertMonitorLogRow(later);
  EXPECT_EQ(pathsOf({}), (std::vector<std::string>{"/a/evening.php", "/a/same-time-later.php", "/a/morning.php",
                                                   "/a/yesterday.php"}));

  std::vector<MonitorLogRow> rows;
  ASSERT_EQ(qevLoadMonitorLog({}, {}, rows), 1);
  const MonitorLogRow& row = rows[1];
  const std::pair<int, std::string> cells[] = {
      {kNumber, ""},           {kServerIp, "10.0.0.7"}, {kTime, "2026-12-10 08:00:00"},
      {kAction, "修改"},       {kPath, "/a/same-time-later.php"}, {kCategory, kSuspiciousCategoryText},
      {kBlockInfo, "eval("},   {kSize, "2048"},         {kKey, key},
  };
  for (const auto& [column, text] : cells) EXPECT_EQ(qevMonitorLogCellText(row, column), text) << column;
  EXPECT_EQ(row.logFile, "/opt/qev_log_file/fmlog/_10.0.0.7_fmlog_20261210.txt");
  EXPECT_EQ(row.extension, ".php");
}

TEST_F(MonitorLogQueryTest, HeaderClicksOrderByTheColumnAndFlipOnTheSameColumn) {
  insertMonitorLogRow(sizedRow("/b.php", "100"));
  insertMonitorLogRow(sizedRow("/c.php", "9"));
  insertMonitorLogRow(sizedRow("/a.php", "2000"));
  MonitorLogOrder order;
  order.clickHeader(kPath);
  EXPECT_EQ(pathsOf({}, order), (std::vector<std::string>{"/a.php", "/b.php", "/c.php"}));
  order.clickHeader(kPath);
  EXPECT_EQ(pathsOf({}, order), (std::vector<std::string>{"/c.php", "/b.php", "/a.php"}));
  order.clickHeader(kSize);  // a number stored as text still orders as a number
  EXPECT_FALSE(order.descending);
  EXPECT_EQ(pathsOf({}, order), (std::vector<std::string>{"/c.php", "/b.php", "/a.php"}));
  order.clickHeader(kKey);  // import order
  EXPECT_EQ(pathsOf({}, order), (std::vector<std::string>{"/b.php", "/c.php", "/a.php"}));
}

TEST_F(MonitorLogQueryTest, EveryFilterNarrowsTheRowsAndOperatorTextsMatchAsTyped) {
  // Inserted oldest first, so every expectation lists the rows in reverse.
  const std::string ip1 = "10.0.0.1";
  const std::string ip2 = "10.0.0.2";
  int minute = 0;
  const auto add = [&](const std::string& ip, const std::string& action, const std::string& category,
                       const std::string& note, const std::string& path) {
    LogRowFields fields = rowAt("2026-12-10", "10:" + std::to_string(10 + minute++) + ":00", path);
    fields.serverIp = ip;
    fields.action = action;
    fields.category = category;
    fields.blockInfo = note;
    insertMonitorLogRow(fields);
  };
  add(ip1, "新建", "正常文件", "", "/www/index.php");
  add(ip1, "修改", kSuspiciousCategoryText, "eval(", "/www/up/shell.php");
  add(ip2, "新建", "白名单文件", "", "/www/O'Brien.asp");
  add(ip2, "修改", "木马文件（已拦截）", "已改名", "/www/100%_done.asp");
  add(ip2, "新建", kSuspiciousCategoryText, "base64_decode", "/www/1000-done.asp");

  struct Case {
    const char* name;
    std::function<void(MonitorLogFilter&)> set;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"nothing set", [](MonitorLogFilter&) {},
       {"/www/1000-done.asp", "/www/100%_done.asp", "/www/O'Brien.asp", "/www/up/shell.php", "/www/index.php"}},
      {"server ip", [&](MonitorLogFilter& f) { f.serverIp = ip1; }, {"/www/up/shell.php", "/www/index.php"}},
      {"action", [](MonitorLogFilter& f) { f.action = "修改"; }, {"/www/100%_done.asp", "/www/up/shell.php"}},
      {"category", [](MonitorLogFilter& f) { f.category = "白名单文件"; }, {"/www/O'Brien.asp"}},
      {"keyword in the path", [](MonitorLogFilter& f) { f.keyword = "/up/"; }, {"/www/up/shell.php"}},
      {"keyword in the note", [](MonitorLogFilter& f) { f.keyword = "decode"; }, {"/www/1000-done.asp"}},
      {"keyword without ASCII case", [](MonitorLogFilter& f) { f.keyword = "o'brien"; }, {"/www/O'Brien.asp"}},
      {"percent and underscore taken literally", [](MonitorLogFilter& f) { f.keyword = "100%_"; },
       {"/www/100%_done.asp"}},
      {"an apostrophe cannot widen the query", [](MonitorLogFilter& f) { f.serverIp = "x' or '1'='1"; }, {}},
      {"whitelist files", [](MonitorLogFilter& f) { f.whitelistFiles = true; }, {"/www/O'Brien.asp"}},
      {"suspicious files", [](MonitorLogFilter& f) { f.suspiciousFiles = true; },
       {"/www/1000-done.asp", "/www/up/shell.php"}},
      {"trojan files", [](MonitorLogFilter& f) { f.trojanFiles = true; }, {"/www/100%_done.asp"}},
      {"two display filters add their kinds",
       [](MonitorLogFilter& f) {
         f.whitelistFiles = true;
         f.trojanFiles = true;
       },
       {"/www/100%_done.asp", "/www/O'Brien.asp"}},
      {"display filter and server ip both hold",
       [&](MonitorLogFilter& f) {
         f.serverIp = ip2;
         f.suspiciousFiles = true;
       },
       {"/www/1000-done.asp"}},
  };
  for (const Case& c : cases) {
    MonitorLogFilter filter;
    c.set(filter);
    EXPECT_EQ(pathsOf(filter), c.paths) << c.name;
  }
}

TEST_F(MonitorLogQueryTest, TheViewHoldsTheNewestTenThousandRows) {
  std::vector<std::string> statements;
  for (int i = 0; i <= kMonitorLogRowLimit; ++i) {
    statements.push_back("insert into fmlog(regdate, regtime, filename) values ('2026-12-10', '10:00:00', '/f" +
                         std::to_string(i) + "')");
  }
  ASSERT_EQ(qevExecuteSqlList(statements), 1);
  const std::vector<std::string> paths = pathsOf({});
  ASSERT_EQ(paths.size(), static_cast<std::size_t>(kMonitorLogRowLimit));
  EXPECT_EQ(paths.front(), "/f10000");
  EXPECT_EQ(paths.back(), "/f1");
}

TEST_F(MonitorLogQueryTest, ChoicesAreTheDistinctValuesInOrderWithoutEmptyOnes) {
  const auto add = [](const std::string& ip, const std::string& action, const std::string& category,
                      const std::string& note) {
    LogRowFields fields;
    fields.serverIp = ip;
    fields.action = action;
    fields.category = category;
    fields.blockInfo = note;
    insertMonitorLogRow(fields);
  };
  add("10.0.0.2", "新建", "正常文件", "");
  add("10.0.0.1", "修改", "正常文件", "eval(");
  add("10.0.0.2", "新建", kSuspiciousCategoryText, "eval(");
  MonitorLogChoices choices;
  ASSERT_EQ(qevLoadMonitorLogChoices(choices), 1);
  EXPECT_EQ(choices.serverIps, (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));
  EXPECT_EQ(choices.actions, (std::vector<std::string>{"修改", "新建"}));
  EXPECT_EQ(choices.categories.size(), 2u);
  EXPECT_EQ(choices.keywords, (std::vector<std::string>{"eval("}));
}

TEST_F(MonitorLogQueryTest, AStoreThatCannotBeReadGivesNoRows) {
  ASSERT_EQ(qevExecuteSql("drop table fmlog"), 1);
  std::vector<MonitorLogRow> rows{MonitorLogRow{}};
  EXPECT_EQ(qevLoadMonitorLog({}, {}, rows), 0);
  EXPECT_TRUE(rows.empty());
  MonitorLogChoices choices;
  EXPECT_EQ(qevLoadMonitorLogChoices(choices), 0);
}

}  // namespace
