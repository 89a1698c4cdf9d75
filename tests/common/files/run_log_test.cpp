#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/files/exe_dir.h"
#include "common/files/run_log.h"
#include "support/files.h"
#include "support/lock_holder.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

// True when text is "YYYY-MM-DD HH:MM:SS - " + message + "\r\n" with digits where the
// template has zeros.
bool isLogLine(const std::string& text, const std::string& message) {
  const std::string stamp = "0000-00-00 00:00:00 - ";
  if (text.size() < stamp.size() || text.substr(stamp.size()) != message + "\r\n") return false;
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (stamp[i] == '0' ? !digit : text[i] != stamp[i]) return false;
  }
  return true;
}

void makeFileOfSize(const std::string& path, std::uint64_t size) {
  std::ofstream(path, std::ios::binary) << "";
  fs::resize_file(path, size);
}

class RunLog : public ::testing::Test {
 protected:
  void SetUp() override { qevOverrideExeDirForTesting(dir); }
  void TearDown() override { qevOverrideExeDirForTesting(""); }

  TemporaryDir temp;
  const std::string dir = temp.path() + "/";
  const std::string log = dir + kScannerRunLog;
};

TEST_F(RunLog, AppendsOneTimeStampedLinePerText) {
  EXPECT_EQ(qevWriteRunLog("first failure", "", kScannerRunLog, kRunLogLimit), 1);
  EXPECT_EQ(qevWriteRunLog("second failure", "", kScannerRunLog, kRunLogLimit), 1);
  const std::string content = readFile(log);
  const std::size_t split = content.find('\n') + 1;
  EXPECT_TRUE(isLogLine(content.substr(0, split), "first failure")) << content;
  EXPECT_TRUE(isLogLine(content.substr(split), "second failure")) << content;
}

TEST_F(RunLog, TextsOfTenBytesOrFewerAreNeverLogged) {
  EXPECT_EQ(qevWriteRunLog("0123456789", "", kScannerRunLog, kRunLogLimit), 0);
  EXPECT_EQ(qevWriteRunLog("", "", kScannerRunLog, kRunLogLimit), 0);
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(qevWriteRunLog("01234567890", "", kScannerRunLog, kRunLogLimit), 1);
  EXPECT_TRUE(fs::exists(log));
}

// The file is emptied only once it is larger than the limit when a line is added.
TEST_F(RunLog, EmptiesTheFileOnceItGrowsPastTheLimit) {
  const struct {
    std::uint64_t sizeBefore;
    std::uint64_t limit;
    bool emptied;
  } cases[] = {
      {1048576, kRunLogLimit, false},
      {1048577, kRunLogLimit, true},
      {1048577, 100, true},             // below 1 MiB: 1 MiB applies
      {1048577, 4294967296ULL, true},   // 4 GiB or more: 1 MiB applies
      {1048577, 52428801, true},        // above 50 MiB: 1 MiB applies
      {2097152, 2097152, false},        // a limit of 2 MiB is kept
      {2097153, 2097152, true},
  };
  const std::string line = "a text longer than ten bytes";
  const std::size_t lineSize = std::string("2026-01-01 00:00:00 - ").size() + line.size() + 2;
  for (const auto& c : cases) {
    makeFileOfSize(log, c.sizeBefore);
    EXPECT_EQ(qevWriteRunLog(line, "", kScannerRunLog, c.limit), 1);
    EXPECT_EQ(fs::file_size(log), c.emptied ? lineSize : c.sizeBefore + lineSize)
        << c.sizeBefore << " / " << c.limit;
  }
}

TEST_F(RunLog, WritesIntoASubfolderItCreates) {
  EXPECT_EQ(qevWriteRunLog("a text longer than ten bytes", "logs//scan", "run.log", kRunLogLimit), 1);
  EXPECT_TRUE(fs::is_regular_file(dir + "logs/scan/run.log"));
  std::ofstream(dir + "blocker") << "x";
  EXPECT_EQ(qevWriteRunLog("a text longer than ten bytes", "blocker", "run.log", kRunLogLimit), 0);
}

TEST_F(RunLog, RefusesWhatItCannotPlace) {
  const std::string text = "a text longer than ten bytes";
  EXPECT_EQ(qevWriteRunLog(text, "", "", kRunLogLimit), 0);
  EXPECT_EQ(qevWriteRunLog(text, "", std::string(260, 'n'), kRunLogLimit), 0);
  EXPECT_EQ(qevWriteRunLog(text, std::string(250, 's'), "run.log", kRunLogLimit), 0);
  qevOverrideExeDirForTesting("relative");
  EXPECT_EQ(qevWriteRunLog(text, "", kScannerRunLog, kRunLogLimit), 0);
}

TEST_F(RunLog, WaitsForAnotherWriterOfTheSameLog) {
  std::ofstream(log) << "";
  LockHolder other(log, true, 800);
  EXPECT_EQ(qevWriteRunLog("a text longer than ten bytes", "", kScannerRunLog, kRunLogLimit), 1);
  EXPECT_NE(readFile(log).find("a text longer than ten bytes\r\n"), std::string::npos);
}

}  // namespace
