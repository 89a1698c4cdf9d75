// sorrel scan and sorrel clean where the desktop program would stop with a message: each such
// stop is exit status 1 with one line on standard error, and nothing starts on stale state.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "cli/sorrel_fixture.h"
#include "maintenance/cleaning/clean_request.h"

namespace fs = std::filesystem;

namespace {

using sorrel_test::rowCount;
using sorrel_test::SorrelProgramDir;
using sorrel_test::SorrelRun;

class ScanAndCleanRefusalsTest : public ::testing::Test {
 protected:
  ScanAndCleanRefusalsTest() {
    fs::create_directories(site_ + "/www");
    writeFile(site_ + "/www/con.asp", "<% shell %>");
    writeFile(site_ + "/www/index.html", "home");
  }

  std::string scanList() const { return program_.path() + "config/ScanDir.txt"; }

  TemporaryDir work_;
  SorrelProgramDir program_;
  const std::string site_ = work_.path() + "/site";
};

TEST_F(ScanAndCleanRefusalsTest, ScanRootThatIsALinkToADirectoryIsScanned) {
  fs::create_directory_symlink(site_ + "/www", site_ + "/current");
  const SorrelRun scan = program_.run({"scan", site_ + "/current"});
  EXPECT_EQ(scan.exitCode, 3) << scan.err;
  EXPECT_EQ(scan.err, "");
  EXPECT_EQ(rowCount(), 1);
}

TEST_F(ScanAndCleanRefusalsTest, ScanListThatCannotBeSavedStartsNoScan) {
  ASSERT_EQ(program_.run({"scan", site_ + "/www"}).exitCode, 3);
  // The file's place is taken by a directory, so the new list cannot be written.
  fs::remove(scanList());
  fs::create_directory(scanList());
  fs::create_directories(site_ + "/other");

  const SorrelRun scan = program_.run({"scan", site_ + "/other"});

  EXPECT_EQ(scan.exitCode, 1);
  EXPECT_EQ(scan.errorLines(), 1u) << scan.err;
  EXPECT_NE(scan.err.find("保存配置文件“" + scanList() + "”失败，请重试！"), std::string::npos) << scan.err;
  EXPECT_EQ(scan.out, "");
  EXPECT_EQ(rowCount(), 1) << "a scan ran and emptied the recorded entries";
}

TEST_F(ScanAndCleanRefusalsTest, CleanWhoseMarkingTheStoreRefusesMovesNothing) {
  ASSERT_EQ(program_.run({"scan", site_ + "/www"}).exitCode, 3);
  // A store that refuses the marks, as a busy one does once its wait is over.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2((program_.path() + "config/FileInfo.dat").c_str(), &db, SQLITE_OPEN_READWRITE, nullptr),
            SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db,
                         "create trigger refuse_marks before update of CompactDatabase on fileinfo "
                         "when new.CompactDatabase = '2' begin select raise(abort, 'refused'); end",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  const SorrelRun clean = program_.run({"clean", "--yes", "--all"});

  EXPECT_EQ(clean.exitCode, 1);
  EXPECT_EQ(clean.errorLines(), 1u) << clean.err;
  EXPECT_NE(clean.err.find(kMarkingFailedMessage), std::string::npos) << clean.err;
  EXPECT_TRUE(fs::exists(site_ + "/www/con.asp"));
  EXPECT_EQ(rowCount("CompactDatabase = '2'"), 0);
}

}  // namespace
