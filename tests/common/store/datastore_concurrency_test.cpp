// The scanner records while the desktop program reloads its list: two processes on one store.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "common/store/datastore.h"
#include "common/store/store_batch_writer.h"
#include "support/program_dir.h"

namespace {

constexpr int kRows = 5000;

std::string insertRow(int number) {
  return "insert into fileinfo(fid,regdate,filenameid,filename,filepath,filesize,filesize2,CompactDatabase,"
         "filechkval,fileinfo,filetype) values ('1', '2026-12-10', '" + std::to_string(number) +
         "_20261210013400_8812345', 'YwBvAG4ALgB0AHgAdAA=', 'LwBzAHIAdgAvAGMAbwBuAC4AdAB4AHQA', 10, 0, '0', "
         "'0cc175b9c0f1b6a831c399e269772661', '未处理',1)";
}

// Each writer answers the number of rows it could not record.
int writePerStatement() {
  int failures = 0;
  for (int i = 0; i < kRows; ++i) failures += qevExecuteSql(insertRow(i)) == 1 ? 0 : 1;
  return failures;
}

int writeInBatches() {
  int failures = 0;
  StoreBatchWriter writer;
  for (int i = 0; i < kRows; ++i) {
    failures += writer.execute(insertRow(i)) == 1 ? 0 : 1;
    if (i % 10 == 9 && writer.commit() != 1) ++failures;
  }
  return failures + (writer.commit() == 1 ? 0 : 1);
}

TEST(StoreConcurrency, ListReloadsWhileAnotherProcessRecords) {
  struct Case {
    const char* name;
    std::function<int()> write;
  };
  const Case cases[] = {
      {"one connection per statement", writePerStatement},
      {"batched recording path", writeInBatches},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryProgramDir dir;
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) _exit(c.write() == 0 ? 0 : 1);

    int reads = 0;
    int failedReads = 0;
    int status = 0;
    while (waitpid(writer, &status, WNOHANG) == 0) {
      int rows = 0;
      const int result = qevQueryRows("select top 10000 * from fileinfo order by filetype asc, filename asc, filename asc",
                                      [&](const StoreRow&) { return ++rows > 0; });
      ++reads;
      if (result != 1) ++failedReads;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer could not record every row";
    EXPECT_GT(reads, 0);
    EXPECT_EQ(failedReads, 0);
    std::string count;
    EXPECT_EQ(qevReadFirstValue("select count(*) as n from fileinfo", "n", count), 1);
    EXPECT_EQ(count, std::to_string(kRows));
  }
}

}  // namespace
