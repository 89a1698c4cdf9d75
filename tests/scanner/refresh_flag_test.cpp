// When the scanner raises the refresh flag for the desktop program, and that the rows are
// readable by then.
#include <gtest/gtest.h>

#include "scanner/file_scan.h"
#include "scanner_fixture.h"

namespace {

// Runs a whole scan in this process with its console on /dev/null, raising the flag through raise.
void runScan(const Recorder::FlagRaiser& raise) {
  std::FILE* sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  {
    ConsoleOutput console(sink);
    ScanSession session(console, raise);
    RunFileScan(session);
  }
  std::fclose(sink);
}

struct CadenceCase {
  int specialEntries;
  // Rows readable by another connection at each raise, in order.
  std::vector<std::size_t> rowsAtRaises;
};

TEST(RefreshFlag, IsRaisedAfterEveryTenRowsAndAtTheEndWithTheRowsReadable) {
  const CadenceCase cases[] = {
      {0, {0}},
      {9, {9}},
      {10, {10, 10}},
      {11, {10, 11}},
      {25, {10, 20, 25}},
  };
  for (const CadenceCase& c : cases) {
    TemporaryProgramDir programDir;
    qevExecuteSql("delete from fileinfo");
    TemporaryDir site;
    for (int i = 0; i < c.specialEntries; ++i) scanner_test::touch(site.path() + "/f" + std::to_string(i) + ".");
    scanner_test::touch(site.path() + "/ordinary.txt");
    scanner_test::writeFile(programDir.path() + "config/ScanDir.txt", site.path() + "\r\n");

    std::vector<std::size_t> rowsAtRaises;
    const auto countRows = [&] {
      rowsAtRaises.push_back(scanner_test::storedRows().size());
      return true;
    };
    runScan(countRows);
    EXPECT_EQ(rowsAtRaises, c.rowsAtRaises) << c.specialEntries << " special entries";
  }
}

TEST(RefreshFlag, IsTriedAgainAfterTheNextRowWhenTheProgramDirectoryWasUnknown) {
  TemporaryProgramDir programDir;
  qevExecuteSql("delete from fileinfo");
  TemporaryDir site;
  for (int i = 0; i < 12; ++i) scanner_test::touch(site.path() + "/f" + std::to_string(i) + ".");
  scanner_test::writeFile(programDir.path() + "config/ScanDir.txt", site.path() + "\r\n");

  // The first raise finds no program directory: the count is kept, so the next row raises again.
  int attempts = 0;
  std::vector<std::size_t> rowsAtRaises;
  const auto flakyRaise = [&] {
    rowsAtRaises.push_back(scanner_test::storedRows().size());
    return ++attempts > 1;
  };
  runScan(flakyRaise);
  EXPECT_EQ(rowsAtRaises, (std::vector<std::size_t>{10, 11, 12}));
}

}  // namespace
