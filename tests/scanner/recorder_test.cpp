// The recorder keeps its rows when another program holds the store for a while, and holds the
// store's write lock only while it writes.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "scanner/classify_entry.h"
#include "scanner/recorder.h"
#include "scanner/scan_session.h"
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

EntryDescription ordinaryFile() {
  EntryDescription entry;
  entry.ansiName = "index.html";
  entry.name = u"index.html";
  entry.ansiPath = "/srv/www/index.html";
  return entry;
}

// A write of another connection that gives up after a short busy time-out, where the desktop
// program would wait its 30 seconds and fail.
int writeFromAnotherConnection(const std::string& store) {
  sqlite3* other = nullptr;
  if (sqlite3_open_v2(store.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(other);
    return SQLITE_CANTOPEN;
  }
  sqlite3_busy_timeout(other, 100);
  const int result = sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr);
  sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  return result;
}

// Rows short of a flag wait in memory, and the connection kept after a flag's batch holds no lock.
TEST(Recorder, TheStoreStaysWritableWhileTheWalkGoesOnBetweenBatches) {
  for (const int specialEntries : {1, 9, 10, 15}) {
    SCOPED_TRACE(std::to_string(specialEntries) + " special entries");
    TemporaryProgramDir programDir;
    qevExecuteSql("delete from fileinfo");
    std::FILE* sink = std::fopen("/dev/null", "w");
    ASSERT_NE(sink, nullptr);
    {
      ConsoleOutput console(sink);
      ScanSession session(console, [] { return true; });
      session.names.build();
      for (int i = 0; i < specialEntries; ++i) ASSERT_EQ(ClassifyEntry(session, specialFile(i)), 1);
      ClassifyEntry(session, ordinaryFile());
      EXPECT_EQ(writeFromAnotherConnection(programDir.store()), SQLITE_OK);
      // The walk goes on through ordinary entries only: the rows are written all the same once
      // they have waited long enough.
      std::this_thread::sleep_for(Recorder::kMaxRowWait + std::chrono::milliseconds(50));
      ClassifyEntry(session, ordinaryFile());
      EXPECT_EQ(scanner_test::storedRows().size(), static_cast<std::size_t>(specialEntries));
    }
    std::fclose(sink);
  }
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
