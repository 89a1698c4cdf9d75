// sorrel download and sorrel import as the built program, against scripted log agents as two
// servers: lines per server and file, exit codes, and questions without a terminal.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/sorrel_fixture.h"
#include "support/log_servers.h"

using namespace sorrel_test;

namespace {

int fmlogRows() {
  std::string count;
  EXPECT_EQ(qevReadFirstValue("select count(*) as n from fmlog", "n", count), 1);
  return std::stoi(count);
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class LogSubcommandsTest : public ::testing::Test {
 protected:
  SorrelProgramDir program_;
  LogServers servers_;
};

TEST_F(LogSubcommandsTest, DownloadFetchesWhatIsNewAndPrintsALinePerServerAndFile) {
  servers_.add("127.0.0.1").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "one"));
  servers_.add("127.0.0.2").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "two"));

  SorrelRun run = program_.run({"download"});  // no terminal, no --yes: the question is answered no
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(has(run.err, "从远程服务器下载日志文件吗？")) << run.err;
  EXPECT_EQ(servers_[0].fetches() + servers_[1].fetches(), 0u);

  run = program_.run({"download", "--yes"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(has(run.out, "服务器 127.0.0.1：列出 1 个日志文件\n")) << run.out;
  EXPECT_TRUE(has(run.out, "已下载：127.0.0.2 a_FMLog_20260101.txt（" + std::to_string(qevSampleMonitorLog(1, "two").size()) +
                               " 字节），已导入数据库\n"))
      << run.out;
  EXPECT_TRUE(has(run.out, "下载结束：2 个服务器，新下载 2 个文件，已下载过 0 个，失败 0 个")) << run.out;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(fmlogRows(), 2);

  run = program_.run({"download", "-y"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(has(run.out, "已经下载过，跳过：127.0.0.1 a_FMLog_20260101.txt")) << run.out;
  EXPECT_EQ(servers_[0].fetches() + servers_[1].fetches(), 2u);

  run = program_.run({"download", "--yes", "--clear"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(servers_[0].fetches() + servers_[1].fetches(), 4u);
  EXPECT_EQ(fmlogRows(), 2);

  run = program_.run({"import", "--yes"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(has(run.out, "已重新导入：" + program_.path() + "qev_log_file/fmlog/_127.0.0.1_a_FMLog_20260101.txt"))
      << run.out;
  EXPECT_TRUE(has(run.out, "重新导入结束：导入 2 个文件，失败 0 个")) << run.out;
  EXPECT_EQ(fmlogRows(), 2);
}

TEST_F(LogSubcommandsTest, DownloadFailsWhenAServerIsLeftBehind) {
  servers_.add("127.0.0.1", {"--fault", "list:wrong-keyword"}).addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "one"));
  servers_.add("127.0.0.2").addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "two"));
  const SorrelRun run = program_.run({"download", "--yes"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(has(run.out, "服务器 127.0.0.1：读取日志文件列表失败，跳过")) << run.out;
  EXPECT_EQ(run.errorLines(), 1u) << run.err;
  EXPECT_TRUE(has(run.err, "1 of 2 servers could not be reached or listed")) << run.err;
  EXPECT_EQ(fmlogRows(), 1);
}

TEST_F(LogSubcommandsTest, NothingToDoIsAFailureWithTheMessageOfTheDesktopProgram) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string error;
  } cases[] = {
      {{"download", "--yes"}, 1, "未找到服务器记录，请先导入服务器设置！"},
      {{"import", "--yes"}, 1, "日志文件未找到，请重新下载日志文件！"},
      {{"import"}, 1, "确定将先前下载的日志文件重新导入到数据库中吗？"},
      {{"download", "now"}, 2, "sorrel download: no operands expected"},
      {{"import", "--clear"}, 2, "unrecognized option '--clear'"},
  };
  for (const auto& c : cases) {
    const SorrelRun run = program_.run(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments[0];
    EXPECT_TRUE(has(run.err, c.error)) << run.err;
  }
}

}  // namespace
