// The scanner's command line, start-up checks and their console texts and exit codes, run as the
// built program.
#include <gtest/gtest.h>

#include "scanner/console_texts.h"
#include "scanner_fixture.h"

namespace {

using scanner_test::ScannerProgramDir;
using scanner_test::ScannerRun;

std::string banner() {
  std::string line;
  for (int i = 0; i < 22; ++i) line += "━";
  return "\r\n\r\n┏" + line + "┓\r\n┃   Sorrelwall·特殊文件扫描服务   ┃\r\n┗" + line +
         "┛\r\n\r\n\r\n";
}

const std::string kNoScanList =
    "\r\n未设置需要扫描的目录，例如“d:\\home”，请设置一个需要扫描的目录！";

// A row left from an earlier run; a run that gets as far as the store removes it.
void addEarlierRow() {
  ASSERT_EQ(qevExecuteSql("insert into fileinfo(fid,filenameid) values ('1','earlier')"), 1);
}

struct ArgumentCase {
  std::vector<std::string> arguments;
  const char* consoleText;
};

TEST(ScannerArguments, WrongCommandLinesPrintTheirTextLogItAndExitZero) {
  const ArgumentCase cases[] = {
      {{}, "\r\n未输入启动参数，运行失败！"},
      {{"/FileScan", "/FileScan"}, "\r\n未输入启动参数，运行失败！"},
      {{"FileScan"}, "\r\n输入的启动参数有错误，命令未知，运行失败！"},
      {{"/FileScanX"}, "\r\n输入的启动参数有错误，命令未知，运行失败！"},
      {{""}, "\r\n输入的启动参数有错误，命令未知，运行失败！"},
  };
  for (const ArgumentCase& c : cases) {
    ScannerProgramDir dir;
    addEarlierRow();
    const ScannerRun run = dir.run(c.arguments);
    EXPECT_EQ(run.exitCode, 0) << c.consoleText;
    EXPECT_EQ(run.output, c.consoleText);
    const std::string log = scanner_test::readFile(dir.path() + "__Sorrelscan.log");
    EXPECT_NE(log.find(std::string(" - ") + (c.consoleText + 2) + "\r\n"), std::string::npos) << log;
    EXPECT_EQ(scanner_test::storedRows().size(), 1u) << "the store is untouched";
  }
}

TEST(ScannerArguments, TheCommandIsAcceptedWithoutRegardToCase) {
  for (const char* command : {"/FileScan", "/filescan", "/FILESCAN"}) {
    ScannerProgramDir dir;
    addEarlierRow();
    dir.writeScanList({});
    const ScannerRun run = dir.run({command});
    EXPECT_EQ(run.exitCode, 1) << command;
    EXPECT_EQ(run.output, banner() + kNoScanList) << command;
    EXPECT_TRUE(scanner_test::storedRows().empty()) << command;
  }
}

TEST(ScannerStart, AProgramOfAnotherNamePrintsOnlyTheBannerAndLeavesTheStore) {
  ScannerProgramDir dir("Scanner2");
  addEarlierRow();
  dir.writeScanList({"/"});
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, banner());
  EXPECT_EQ(scanner_test::storedRows().size(), 1u);
}

TEST(ScannerStart, AMissingStoreIsReportedAndTheRunEndsWithZero) {
  ScannerProgramDir dir;
  std::filesystem::remove(dir.config("FileInfo.dat"));
  TemporaryDir site;
  dir.writeScanList({site.path()});
  const ScannerRun run = dir.run();
  EXPECT_EQ(run.exitCode, 0);
  const std::string failure = "\r\n读取数据库时发生错误，请重试！";
  ASSERT_GE(run.output.size(), failure.size());
  EXPECT_EQ(run.output.substr(run.output.size() - failure.size()), failure);
  EXPECT_EQ(run.output.find("当前填写的扫描目录"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.config("FileInfo.dat"))) << "no empty store appears";
  const std::string log = scanner_test::readFile(dir.path() + "__Sorrelscan.log");
  EXPECT_NE(log.find("读取数据库时发生错误，请重试！"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() + "Sorrelscan.ini"));
}

TEST(ScannerStart, EachRunStartsItsRunLogWithASeparatorLine) {
  ScannerProgramDir dir;
  dir.writeScanList({});
  dir.run();
  std::string separator;
  for (int i = 0; i < 49; ++i) separator += "━";
  const std::string log = scanner_test::readFile(dir.path() + "__Sorrelscan.log");
  EXPECT_NE(log.find(" - " + separator + "\r\n"), std::string::npos) << log;
}

}  // namespace
