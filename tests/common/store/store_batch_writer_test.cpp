#include "common/store/store_batch_writer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/files/exe_dir.h"
#include "common/store/datastore.h"
#include "support/program_dir.h"

namespace {

std::string insertRow(int number) {
  return "insert into fileinfo(fid, filenameid, CompactDatabase, fileinfo, filetype) values ('1', '" +
         std::to_string(number) + "_20261210013400_1', '0', '未处理', 1)";
}

std::string rowCount() {
  std::string count;
  if (qevReadFirstValue("select count(*) as n from fileinfo", "n", count) != 1) return "failed";
  return count;
}

class BatchWriterTest : public ::testing::Test {
 protected:
  TemporaryProgramDir dir;
};

TEST_F(BatchWriterTest, RowsBecomeVisibleToOtherConnectionsAtCommit) {
  StoreBatchWriter writer;
  for (int i = 0; i < 25; ++i) ASSERT_EQ(writer.execute(insertRow(i)), 1);
  // A reader is not held up by the open batch; it sees the store as last committed.
  EXPECT_EQ(rowCount(), "0");
  std::vector<std::string> failed;
  EXPECT_EQ(writer.commit(&failed), 1);
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(rowCount(), "25");
  ASSERT_EQ(writer.execute(insertRow(25)), 1);
  EXPECT_EQ(writer.commit(), 1);
  EXPECT_EQ(rowCount(), "26");
}

TEST_F(BatchWriterTest, RefusedStatementsDoNotSpoilTheBatch) {
  struct Case {
    const char* name;
    std::string statement;
    int expected;
  };
  const Case cases[] = {
      {"row", insertRow(1), 1},
      {"syntax error", "insert into fileinfo(fid values ('1')", 0},
      {"missing table", "insert into nosuchtable(fid) values ('1')", 0},
      {"second statement", insertRow(2) + "; delete from fileinfo", 0},
      {"empty", "", 0},
      {"row after the refusals", insertRow(3), 1},
  };
  StoreBatchWriter writer;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(writer.execute(c.statement), c.expected);
  }
  std::vector<std::string> failed;
  EXPECT_EQ(writer.commit(&failed), 1);
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(rowCount(), "2");
}

TEST_F(BatchWriterTest, RowsBeforeAStatementThatUndidTheTransactionAreKept) {
  // A statement whose error rolls back the whole transaction, not only itself.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(dir.store().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "create trigger undo_all before insert on fileinfo when new.fid = 'undo' "
                         "begin select raise(rollback, 'undone'); end",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  StoreBatchWriter writer;
  EXPECT_EQ(writer.execute(insertRow(1)), 1);
  EXPECT_EQ(writer.execute(insertRow(2)), 1);
  EXPECT_EQ(writer.execute("insert into fileinfo(fid) values ('undo')"), 0);
  EXPECT_EQ(writer.execute(insertRow(3)), 1);
  std::vector<std::string> failed;
  EXPECT_EQ(writer.commit(&failed), 1);
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(rowCount(), "3");
}

TEST_F(BatchWriterTest, WaitsForAnotherWriterInsteadOfFailing) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(dir.store().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, insertRow(100).c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread release([other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
  });
  StoreBatchWriter writer;
  EXPECT_EQ(writer.execute(insertRow(1)), 1);
  EXPECT_EQ(writer.commit(), 1);
  release.join();
  sqlite3_close(other);
  EXPECT_EQ(rowCount(), "2");
}

TEST_F(BatchWriterTest, PendingRowsAreCommittedWithoutAnExplicitCommit) {
  {
    StoreBatchWriter writer;
    // A caller that never commits still never holds more than one bounded batch uncommitted.
    for (int i = 0; i < 1500; ++i) ASSERT_EQ(writer.execute(insertRow(i)), 1);
    EXPECT_EQ(rowCount(), "1000");
  }
  EXPECT_EQ(rowCount(), "1500");
}

TEST(BatchWriterMissingStore, RefusesAndCreatesNothing) {
  TemporaryDir base;
  std::filesystem::create_directory(base.path() + "/config");
  qevOverrideExeDirForTesting(base.path());
  {
    StoreBatchWriter writer;
    EXPECT_EQ(writer.execute(insertRow(1)), 0);
    EXPECT_EQ(writer.commit(), 1);  // nothing was accepted, so nothing is missing
  }
  EXPECT_TRUE(std::filesystem::is_empty(base.path() + "/config"));
  qevOverrideExeDirForTesting("");
}

}  // namespace
