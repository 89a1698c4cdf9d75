// sorrel logs, the built program: the monitor-log rows newest first as text and as JSON with
// stable keys, its help, and the exit codes of a wrong command line and of a store it cannot read.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/json_text.h"
#include "cli/sorrel_fixture.h"
#include "support/monitor_log_rows.h"

using namespace sorrel_test;

namespace {

class LogsSubcommandTest : public ::testing::Test {
 protected:
  LogsSubcommandTest() {
    LogRowFields older;
    older.serverIp = "10.0.0.1";
    older.time = "09:00:00";
    older.path = "/srv/www/index.php";
    olderKey = insertMonitorLogRow(older);
    LogRowFields newer;
    newer.serverIp = "10.0.0.2";
    newer.time = "10:00:00";
    newer.action = "修改";
    newer.category = "可疑文件（包含可疑关键字）";
    newer.blockInfo = "eval(";
    newer.path = "/srv/www/O'Brien \"x\".php";
    newer.size = "2048";
    newer.checkValue = "0123456789abcdef0123456789abcdef";
    newerKey = insertMonitorLogRow(newer);
  }

  SorrelProgramDir program;
  std::string olderKey;
  std::string newerKey;
};

TEST_F(LogsSubcommandTest, ListsTheRowsNewestFirstAsTextAndAsJson) {
  const SorrelRun text = program.run({"logs"});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.err, "");
  EXPECT_EQ(text.out,
            "序号  服务器IP  时间                 动作  文件类别                    文件大小  文件路径\n"
            "   1  10.0.0.2  2026-12-10 10:00:00  修改  可疑文件（包含可疑关键字）      2048  /srv/www/O'Brien \"x\".php\n"
            "   2  10.0.0.1  2026-12-10 09:00:00  新建  正常文件                         100  /srv/www/index.php\n");

  const SorrelRun json = program.run({"logs", "--json"});
  EXPECT_EQ(json.exitCode, 0) << json.err;
  const std::string first = qevJsonObject({
      {"number", "1"},
      {"id", qevJsonString(newerKey)},
      {"log_file", qevJsonString("/opt/qev_log_file/fmlog/_10.0.0.2_fmlog_20261210.txt")},
      {"server_ip", qevJsonString("10.0.0.2")},
      {"date", qevJsonString("2026-12-10")},
      {"time", qevJsonString("10:00:00")},
      {"extension", qevJsonString(".php")},
      {"action", qevJsonString("修改")},
      {"check", qevJsonString("1")},
      {"category", qevJsonString("可疑文件（包含可疑关键字）")},
      {"block", qevJsonString("0")},
      {"block_info", qevJsonString("eval(")},
      {"path", qevJsonString("/srv/www/O'Brien \"x\".php")},
      {"size", qevJsonString("2048")},
      {"check_value", qevJsonString("0123456789abcdef0123456789abcdef")},
      {"type", qevJsonString("1")},
  });
  EXPECT_EQ(json.out.rfind("[\n  " + first + ",\n  {\"number\": 2, \"id\": \"" + olderKey + "\"", 0), 0u)
      << json.out;
  EXPECT_EQ(json.out.substr(json.out.size() - 4), "}\n]\n");
}

TEST_F(LogsSubcommandTest, HelpUsageErrorsAndAStoreThatCannotBeRead) {
  const SorrelRun help = program.run({"logs", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: sorrel logs [--json]", 0), 0u) << help.out;

  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case usage[] = {{{"logs", "extra"}, "sorrel logs: unexpected argument 'extra'"},
                        {{"logs", "--json=yes"}, "option '--json' takes no value"},
                        {{"logs", "--all"}, "unrecognized option '--all'"}};
  for (const Case& c : usage) {
    const SorrelRun run = program.run(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.error;
    EXPECT_EQ(run.errorLines(), 1u) << run.err;
    EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }

  std::filesystem::remove(program.path() + "config/FileInfo.dat");
  const SorrelRun failed = program.run({"logs", "--json"});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.errorLines(), 1u) << failed.err;
  EXPECT_EQ(failed.out, "");
}

TEST_F(LogsSubcommandTest, NoRowsGiveAnEmptyArray) {
  ASSERT_EQ(qevExecuteSql("delete from fmlog"), 1);
  EXPECT_EQ(program.run({"logs", "--json"}).out, "[]\n");
}

}  // namespace
