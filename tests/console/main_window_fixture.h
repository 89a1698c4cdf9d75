#pragma once
// Shared by the desktop program's tests: one QApplication per test program (offscreen), a
// temporary program directory with an empty store, rows recorded as the scanner records them,
// and a main window with a scripted prompter and a recording desktop.
#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "console/record_list_model.h"
#include "console/sorrelmede_dlg.h"
#include "maintenance/records/record_query.h"
#include "maintenance/records/selected_path.h"
#include "maintenance/records/sort_keys.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

// Fontconfig keeps its caches for the life of the process; the leak checker of sanitizer builds
// is told so. (Each test program includes this header from exactly one file.)
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

inline QApplication& testApplication() {
  static int argc = 1;
  static char name[] = "sorrelmede_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *application;
}

// Runs the window's event loop until done() holds or the limit passes; answers done().
inline bool processEventsUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

inline std::string storedText(const std::string& ansi) {
  std::u16string wide;
  qevAnsiToWide(ansi, wide);
  return qevEncodeStoredName(wide);
}

struct StoredRow {
  std::string id;
  std::string filename;  // as stored (Base64 or an error text)
  std::string filepath;  // as stored
  std::string filesize;  // as written into the statement (a number)
  std::string filetype;  // as written into the statement (a number)
  std::string state = "未处理";
};

inline void insertRow(const StoredRow& row) {
  const std::string statement =
      "insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, filesize2, "
      "CompactDatabase, filechkval, fileinfo, filetype) values ('1', '2026-12-10', '" +
      qevSqlQuote(row.id) + "', '" + qevSqlQuote(row.filename) + "', '" + qevSqlQuote(row.filepath) + "', " +
      row.filesize + ", 0, '0', '', '" + qevSqlQuote(row.state) + "', " + row.filetype + ")";
  ASSERT_EQ(qevExecuteSql(statement), 1) << statement;
}

// A row for an entry at path (a file when kind is 1, a directory when 2), named by its last part.
inline StoredRow entryRow(const std::string& id, const std::string& path, int kind, std::uint64_t size = 0) {
  const std::string name = path.substr(path.find_last_of('/') + 1);
  return StoredRow{id, storedText(name), storedText(path), std::to_string(size), std::to_string(kind)};
}

// Every test starts with its own program directory, the initial sort keys and no selected path.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    testApplication();
    qevSortKeys().reset();
    qevSelectedPath().set({});
  }

  // Opens the main window; rows recorded before are loaded by its initialisation.
  CSorrelmedeDlg& openWindow(CSorrelmedeDlg::Workers workers = {}) {
    CSorrelmedeDlg::Desktop desktop;
    desktop.remoteHelpPages = false;
    desktop.showInFolder = [this](const std::u16string& path) {
      shownFolders.push_back(path);
      return showInFolderWorks;
    };
    desktop.openAddress = [this](const std::string& address) {
      openedAddresses.push_back(address);
      return true;
    };
    window = std::make_unique<CSorrelmedeDlg>(&prompter, std::move(workers), desktop);
    return *window;
  }

  // The texts of one column, row by row.
  std::vector<std::string> column(int index) const {
    std::vector<std::string> texts;
    for (int row = 0; row < window->recordList().rows(); ++row) texts.push_back(window->recordList().text(row, index));
    return texts;
  }

  int rowOf(const std::string& recordId) const {
    for (int row = 0; row < window->recordList().rows(); ++row) {
      if (window->recordList().text(row, 7) == recordId) return row;
    }
    return -1;
  }

  TemporaryProgramDir programDir;
  ScriptedPrompter prompter;
  std::vector<std::u16string> shownFolders;
  bool showInFolderWorks = true;
  std::vector<std::string> openedAddresses;
  std::unique_ptr<CSorrelmedeDlg> window;
};
