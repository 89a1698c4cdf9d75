#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "common/files/exe_dir.h"
#include "common/files/list_file.h"
#include "common/messages/event_report.h"
#include "support/lock_holder.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

class ListFile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir + "config");
    qevOverrideExeDirForTesting(dir);
    qevSetEventReportObserver([this](const std::string& message) {
      std::lock_guard lock(mutex);
      reports.push_back(message);
    });
  }
  void TearDown() override {
    qevSetEventReportObserver(nullptr);
    qevOverrideExeDirForTesting("");
  }
  void writeList(const std::string& content, const std::string& name = "ScanDir.txt") {
    std::ofstream(dir + "config/" + name, std::ios::binary) << content;
  }
  std::vector<std::string> reported() {
    std::lock_guard lock(mutex);
    return reports;
  }

  TemporaryDir temp;
  const std::string dir = temp.path() + "/";
  const std::string scanDir = dir + "config/ScanDir.txt";
  std::mutex mutex;
  std::vector<std::string> reports;
};

TEST_F(ListFile, KeepsTrimmedLinesInTheirCaseOnceEach) {
  const struct {
    std::string content;
    std::vector<std::string> list;
  } cases[] = {
      // Linux names are case-sensitive: /srv/Home and /srv/home are two directories.
      {"/srv/Home\r\n  /srv/home  \r\n;/srv/old\r\nx\r\n", {"/srv/Home", "/srv/home"}},
      {"/a\r\n/a\r\n \t/a\t \r\n", {"/a"}},
      {"/a\n/b", {"/a", "/b"}},
      {"  ;/commented\r\n;\r\n", {}},
      {"\r\n\r\n   \r\n", {}},
      {"", {}},
      {"ab\r\nx\r\n \r\n", {"ab"}},  // two bytes are enough, one is not
      {"/a\rb\r\n", {"/ab"}},        // a stray carriage return is removed
      {"/srv/\xe7\xbd\x91\xe7\xab\x99\r\n", {"/srv/\xe7\xbd\x91\xe7\xab\x99"}},
      {"/srv/my site\r\n", {"/srv/my site"}},
  };
  for (const auto& c : cases) {
    writeList(c.content);
    std::vector<std::string> list;
    EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 1) << c.content;
    EXPECT_EQ(list, c.list) << c.content;
  }
  EXPECT_TRUE(reported().empty());
}

TEST_F(ListFile, AddsToTheListItIsGivenWithoutRepeatingItsEntries) {
  writeList("/a\r\n/b\r\n");
  std::vector<std::string> list{"/b", "/z"};
  EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 1);
  EXPECT_EQ(list, (std::vector<std::string>{"/b", "/z", "/a"}));
}

TEST_F(ListFile, RefusesNamesOutsideOneToSixtyFourCharacters) {
  writeList("/a\r\n", std::string(64, 'n'));
  std::vector<std::string> list;
  EXPECT_EQ(qevReadTxtFileLine(std::string(64, 'n'), list), 1);
  for (const std::string& name : {std::string(), std::string(65, 'n'), std::string("../x")}) {
    EXPECT_EQ(qevReadTxtFileLine(name, list), 0) << name;
  }
  EXPECT_TRUE(reported().empty()) << "a refused name is no event";
}

TEST_F(ListFile, AMissingFileIsReportedWithItsCause) {
  // The folder is "config" in lower case; "Config" is another folder.
  fs::create_directory(dir + "Config");
  std::ofstream(dir + "Config/ScanDir.txt") << "/a\r\n";
  std::vector<std::string> list;
  EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 0);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(reported(), std::vector<std::string>{"60001: qevReadTxtFileLine() ERR | m_cause = 2,"
                                                 "m_strFileName = " + scanDir + ",nopentime = 0 | "});
}

TEST_F(ListFile, AProgramDirectoryTooLongForThePathIsRefused) {
  const std::string longDir = dir + std::string(240, 'p') + "/";
  fs::create_directories(longDir + "config");
  std::ofstream(longDir + "config/ScanDir.txt") << "/a\r\n";
  qevOverrideExeDirForTesting(longDir);
  std::vector<std::string> list;
  EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 0);
  EXPECT_TRUE(list.empty());
}

// The desktop program may hold the list while writing it: the scanner waits about three seconds.
TEST_F(ListFile, ALockHeldByAnotherProcessIsWaitedOutForAboutThreeSeconds) {
  writeList("/srv/www\r\n");
  {
    LockHolder writer(scanDir, true, 1000);
    std::vector<std::string> list;
    EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 1);
    EXPECT_EQ(list, std::vector<std::string>{"/srv/www"});
  }
  EXPECT_TRUE(reported().empty());
  {
    LockHolder writer(scanDir, true, 4500);
    std::vector<std::string> list;
    EXPECT_EQ(qevReadTxtFileLine("ScanDir.txt", list), 0);
    EXPECT_TRUE(list.empty());
  }
  EXPECT_EQ(reported(),
            std::vector<std::string>{"60001: qevReadTxtFileLine() ERR | "
                                     "CFileException::sharingViolation > 30 | m_cause = 11,"
                                     "m_strFileName = " + scanDir + ",nopentime = 31"});
}

}  // namespace
