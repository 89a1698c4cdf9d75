// The record list: what the loader makes of stored rows, the query order and the header clicks.
#include <gtest/gtest.h>

#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "maintenance/records/record_table.h"

namespace {

using RecordListTest = MainWindowTest;

struct LoaderCase {
  std::string what;
  StoredRow stored;
  std::string name;
  std::string kind;
  std::string size;
  std::string path;
};

TEST_F(RecordListTest, LoaderTurnsStoredRowsIntoListTexts) {
  const std::string invalidUtf8Name = std::string("bad\xff") + "name";
  const LoaderCase cases[] = {
      {"file", entryRow("f", "/srv/www/con.asp", 1, 300), "con.asp", "文件", "300 B", "/srv/www/con.asp"},
      {"directory", entryRow("d", "/srv/www/prn", 2), "prn", "目录", "---", "/srv/www/prn"},
      {"unknown kind", entryRow("u", "/srv/www/aux", 7, 5000), "aux", "（未知）", "---", "/srv/www/aux"},
      {"1024 bytes", entryRow("k0", "/srv/www/nul", 1, 1024), "nul", "文件", "1024 B", "/srv/www/nul"},
      {"1025 bytes", entryRow("k1", "/srv/www/nul.txt", 1, 1025), "nul.txt", "文件", "1 KB", "/srv/www/nul.txt"},
      // A size past 2 GiB keeps its value instead of stopping at 2,147,483,647 bytes.
      {"3 GiB", entryRow("g", "/srv/www/big.", 1, 3221225472ULL), "big.", "文件", "3145728 KB", "/srv/www/big."},
      {"name outside ASCII", entryRow("c", "/srv/网站/备份 ", 1, 1), "备份 ", "文件", "1 B", "/srv/网站/备份 "},
      {"name that is not UTF-8", entryRow("b", "/srv/" + invalidUtf8Name, 1, 2), invalidUtf8Name, "文件", "2 B",
       "/srv/" + invalidUtf8Name},
      {"scanner's error text", StoredRow{"e", "（读取文件名时发生错误！）", "（读取文件名时发生错误！）", "9", "1"},
       "（文件名有错误）", "文件", "9 B", "（文件名有错误）"},
  };
  for (const LoaderCase& c : cases) insertRow(c.stored);
  openWindow();

  ASSERT_EQ(window->recordList().rows(), static_cast<int>(std::size(cases)));
  for (const LoaderCase& c : cases) {
    SCOPED_TRACE(c.what);
    const int row = rowOf(c.stored.id);
    ASSERT_GE(row, 0);
    EXPECT_EQ(window->recordList().text(row, 0), std::to_string(row + 1));
    EXPECT_EQ(window->recordList().text(row, 1), c.name);
    EXPECT_EQ(window->recordList().text(row, 2), c.kind);
    EXPECT_EQ(window->recordList().text(row, 3), c.size);
    EXPECT_EQ(window->recordList().text(row, 4), "");
    EXPECT_EQ(window->recordList().text(row, 5), "未处理");
    EXPECT_EQ(window->recordList().text(row, 6), c.path);
  }
}

TEST(RecordRowTexts, NameBoundAndSizeTextsOfOddValues) {
  // 102,399 decoded bytes is the longest name that is shown; the odd last byte is dropped.
  const std::string longest = std::string(51199, 'a') + "b";
  EXPECT_EQ(qevRecordNameText(storedText(longest).substr(0, 136532)), std::string(51199, 'a'));
  EXPECT_EQ(qevRecordNameText(storedText(std::string(51200, 'a'))), "（文件名有错误）");
  EXPECT_EQ(qevRecordNameText(""), "（文件名有错误）");

  struct Size {
    const char* type;
    const char* stored;
    const char* shown;
  };
  const Size sizes[] = {
      {"1", "0", "0 B"},       {"1", "-5", "0 B"},     {"1", "abc", "0 B"}, {"1", "2048x", "2 KB"},
      {"1", "18446744073709551615", "18014398509481983 KB"}, {"1", "99999999999999999999999", "18014398509481983 KB"},
      {"2", "4096", "---"},    {"", "4096", "---"},    {"01", "4096", "---"},
  };
  for (const Size& size : sizes) {
    EXPECT_EQ(qevRecordSizeText(size.type, size.stored), size.shown) << size.type << " " << size.stored;
  }
}

TEST_F(RecordListTest, EmptyStoreGivesEmptyListAndAFailedLoadKeepsTheRows) {
  openWindow();
  EXPECT_EQ(window->recordList().rows(), 0);
  EXPECT_EQ(qevLoadRecordTable(qevSortKeys().listQuery()), 1);

  insertRow(entryRow("a", "/srv/a.", 1, 1));
  window->dispatchCommand(command_id::kRefresh);
  ASSERT_EQ(window->recordList().rows(), 1);

  // Rows without the list's columns, and a statement the store refuses: the list stays.
  EXPECT_EQ(qevLoadRecordTable("select id from fileinfo"), 0);
  EXPECT_EQ(qevLoadRecordTable("select * from nosuchtable"), 0);
  qevQueryRecords(kRangeAll);
  EXPECT_EQ(window->recordList().rows(), 1);
}

TEST_F(RecordListTest, RowsComeByKindThenName) {
  insertRow(entryRow("1", "/srv/b.", 1));
  insertRow(entryRow("2", "/srv/prn", 2));
  insertRow(entryRow("3", "/srv/a.", 1));
  openWindow();
  EXPECT_EQ(column(7), (std::vector<std::string>{"3", "1", "2"}));
}

// Each click toggles the first direction, whatever column it is on, and the first key follows
// the clicked column; columns 0, 6 and 7 sort by the stored path.
TEST_F(RecordListTest, HeaderClicksToggleDirectionAcrossColumns) {
  struct Click {
    int column;
    const char* key;
    const char* direction;
  };
  const Click clicks[] = {{1, "filename", "desc"}, {3, "filesize", "asc"}, {0, "filepath", "desc"},
                          {6, "filepath", "asc"},  {7, "filepath", "desc"}, {4, "filetime", "asc"},
                          {5, "fileinfo", "desc"}, {2, "filetype", "asc"}, {9, "filepath", "desc"}};
  openWindow();
  for (const Click& click : clicks) {
    window->onRecordHeaderClicked(click.column);
    EXPECT_EQ(qevSortKeys().key(0).column, click.key) << "column " << click.column;
    EXPECT_EQ(qevSortKeys().key(0).direction, click.direction) << "column " << click.column;
  }
  EXPECT_EQ(qevSortKeys().key(1).column, "filename");
  EXPECT_EQ(qevSortKeys().key(2).direction, "asc");
}

TEST_F(RecordListTest, HeaderClickReordersTheList) {
  insertRow(entryRow("small", "/srv/a.", 1, 10));
  insertRow(entryRow("large", "/srv/b.", 1, 5000));
  insertRow(entryRow("middle", "/srv/c.", 1, 700));
  openWindow();
  window->onRecordHeaderClicked(3);  // filesize desc
  EXPECT_EQ(column(7), (std::vector<std::string>{"large", "middle", "small"}));
  window->onRecordHeaderClicked(3);  // filesize asc
  EXPECT_EQ(column(7), (std::vector<std::string>{"small", "middle", "large"}));
  // The range buttons are usable again after every reload.
  EXPECT_TRUE(window->control(command_id::kToday)->isEnabled());
}

TEST_F(RecordListTest, ReloadStopsAtTenThousandRowsAndLosesCheckMarks) {
  std::vector<std::string> statements;
  for (int i = 0; i < 10005; ++i) {
    const StoredRow row = entryRow(std::to_string(i), "/srv/n" + std::to_string(i) + ".", 1, 1);
    statements.push_back("insert into fileinfo (filenameid, filename, filepath, filesize, filesize2, "
                         "CompactDatabase, fileinfo, filetype) values ('" + row.id + "', '" + row.filename +
                         "', '" + row.filepath + "', 1, 0, '0', '未处理', 1)");
  }
  ASSERT_EQ(qevExecuteSqlList(statements), 1);
  openWindow();
  EXPECT_EQ(window->recordList().rows(), 10000);
  window->dispatchCommand(command_id::kCheckAll);
  EXPECT_TRUE(window->recordList().isChecked(9999));
  window->dispatchCommand(command_id::kRefresh);
  EXPECT_FALSE(window->recordList().isChecked(9999));
}

}  // namespace
