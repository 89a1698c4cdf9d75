// The recorder keeps its rows when another program holds the store for a while.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "scanner/recorder.h"
#include "scanner_fixture.h"

namespace {

EntryDescription specialFile(int number) {
  EntryDescription entry;
  entry.kind = EntryDescription::kFile;
  entry.ansiName = "con." + std::to_string(number);
  entry.name = std::u16string(entry.ansiName.begin(), entry.ansiName.end());
  entry.ansiPath = "/srv/www/" + entry.ansiName;
  entry.size = 3;
  return entry;
}

TEST(Recorder, RowsWaitForAStoreThatAnotherConnectionHoldsAndNoneIsLost) {
  TemporaryProgramDir programDir;
  qevExecuteSql("delete from fileinfo");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(programDir.store().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  std::thread release;
  // At the first raise another connection takes the write lock and keeps it for a second, so
  // the rows after it meet a busy store.
  const auto holdStoreAtFirstRaise = [&] {
    if (!release.joinable()) {
      EXPECT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
      release = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
      });
    }
    return true;
  };
  {
    Recorder recorder(holdStoreAtFirstRaise);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(recorder.RecordEntry(specialFile(i)), 1);
    EXPECT_TRUE(recorder.commit());
  }
  release.join();
  sqlite3_close(other);
  EXPECT_EQ(scanner_test::storedRows().size(), 15u);
  EXPECT_FALSE(std::filesystem::exists(programDir.path() + "__Sorrelscan.log"));
}

}  // namespace
