#include "common/store/datastore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "common/files/exe_dir.h"
#include "common/messages/operator_message.h"
#include "common/store/store_batch_writer.h"
#include "common/text/stored_name.h"
#include "support/program_dir.h"

namespace {

namespace fs = std::filesystem;

// Records every operator message for the life of the object.
class MessageLog {
 public:
  MessageLog() {
    qevSetOperatorMessageHook([this](const std::string& text, MessageIcon icon) {
      texts.push_back(text);
      icons.push_back(icon);
    });
  }
  ~MessageLog() { qevSetOperatorMessageHook(nullptr); }
  std::vector<std::string> texts;
  std::vector<MessageIcon> icons;
};

std::string countRows(const std::string& table, const std::string& where = "") {
  std::string count;
  if (qevReadFirstValue("select count(*) as n from " + table + where, "n", count) != 1) return "failed";
  return count;
}

std::string sqlLiteral(const std::optional<std::string>& value) {
  return value ? "'" + qevSqlQuote(*value) + "'" : "null";
}

// Inserts one fileinfo row with the given fid and filechkval (null when absent).
void insertCheckValueRow(const std::string& fid, const std::optional<std::string>& checkValue) {
  ASSERT_EQ(qevExecuteSql("insert into fileinfo(fid, filechkval) values (" + sqlLiteral(fid) + ", " +
                          sqlLiteral(checkValue) + ")"),
            1);
}

// Name and content of every entry of a directory, to see that nothing appeared or changed.
std::map<std::string, std::string> directorySnapshot(const std::string& dir) {
  std::map<std::string, std::string> entries;
  if (!fs::exists(dir)) return entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    std::string content;
    if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    entries[entry.path().filename().string()] = content;
  }
  return entries;
}

std::size_t openDescriptorCount() {
  std::size_t count = 0;
  for (auto it = fs::directory_iterator("/proc/self/fd"); it != fs::directory_iterator(); ++it) ++count;
  return count;
}

// True when a new writer can take the write lock at once: no transaction was left behind.
bool storeIsUnlocked(const std::string& store) {
  sqlite3* db = nullptr;
  bool free = sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr) == SQLITE_OK;
  if (free) sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return free;
}

TEST(DataStorePath, NamesTheStoreAndCreatesTheConfigDirectory) {
  TemporaryDir base;
  MessageLog messages;
  qevOverrideExeDirForTesting(base.path() + "/programs/");
  std::string path = "stale";
  EXPECT_EQ(qevGetDataStorePath(path), 1);
  EXPECT_EQ(path, base.path() + "/programs/config/FileInfo.dat");
  EXPECT_TRUE(fs::is_directory(base.path() + "/programs/config"));
  std::string connection;
  EXPECT_EQ(qevGetConnectionString(connection), 1);
  EXPECT_EQ(connection, path);
  EXPECT_TRUE(messages.texts.empty());
  qevOverrideExeDirForTesting("");
}

TEST(DataStorePath, FailuresShowTheirQuestionMessage) {
  TemporaryDir base;
  std::ofstream(base.path() + "/plain-file") << "x";
  struct Case {
    const char* name;
    std::string programDir;
    std::string message;
  };
  const Case cases[] = {
      {"program directory unknown", "not-absolute", kExeDirFailedMessage},
      {"config directory cannot be made", base.path() + "/plain-file/",
       "建立目录“" + base.path() + "/plain-file/config”失败，请重试！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageLog messages;
    qevOverrideExeDirForTesting(c.programDir);
    std::string path = "stale";
    std::string connection = "stale";
    EXPECT_EQ(qevGetDataStorePath(path), 0);
    EXPECT_EQ(path, "");
    EXPECT_EQ(qevGetConnectionString(connection), 0);
    EXPECT_EQ(connection, "");
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[0], c.message);
    EXPECT_EQ(messages.icons[0], MessageIcon::Question);
  }
  qevOverrideExeDirForTesting("");
}

// Every operation on a store that cannot be used: 0, nothing shown, nothing created or changed,
// no descriptor left open.
TEST(DataStoreUnusable, EveryOperationAnswersZeroAndLeavesNoTrace) {
  const std::string insert = "insert into fileinfo(fid) values ('1')";
  const std::vector<std::pair<const char*, std::function<int()>>> operations = {
      {"execute", [&] { return qevExecuteSql(insert); }},
      {"empty list", [] { return qevExecuteSqlList({}); }},
      {"list", [&] { return qevExecuteSqlList({insert}); }},
      {"first value", [] { std::string v; return qevReadFirstValue("select * from fileinfo", "fid", v); }},
      {"column values",
       [] { std::vector<std::string> v; return qevReadColumnValues("fileinfo", "fid", "1", "fid", 10, v); }},
      {"fmlog value", [] { std::string v; return qevReadFmlogValue("fid", "1", "fid", v); }},
      {"latest value", [] { std::string v; return qevReadLatestValue("fileinfo", "fid", "1", "id", "fid", v); }},
      {"record path", [] { std::u16string p; return qevGetRecordPath("0_20261210_1", p); }},
      {"query rows", [] { return qevQueryRows("select * from fileinfo", [](const StoreRow&) { return true; }); }},
      {"batch execute", [&] { StoreBatchWriter w; return w.execute(insert); }},
  };
  struct Case {
    const char* name;
    std::function<void(const std::string& store)> makeStore;
  };
  const Case cases[] = {
      {"missing store", [](const std::string&) {}},
      {"not a database", [](const std::string& store) { std::ofstream(store) << std::string(4096, 'x'); }},
      {"directory in its place", [](const std::string& store) { fs::create_directory(store); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TemporaryDir base;
    fs::create_directory(base.path() + "/config");
    c.makeStore(base.path() + "/config/FileInfo.dat");
    qevOverrideExeDirForTesting(base.path());
    MessageLog messages;
    const auto before = directorySnapshot(base.path() + "/config");
    const std::size_t descriptors = openDescriptorCount();
    for (const auto& [name, operation] : operations) {
      SCOPED_TRACE(name);
      EXPECT_EQ(operation(), 0);
    }
    EXPECT_EQ(directorySnapshot(base.path() + "/config"), before);
    EXPECT_EQ(openDescriptorCount(), descriptors);
    EXPECT_TRUE(messages.texts.empty());
    qevOverrideExeDirForTesting("");
  }
}

TEST(DataStoreUnusable, FirstOperationCreatesAMissingConfigDirectory) {
  TemporaryDir base;
  qevOverrideExeDirForTesting(base.path());
  EXPECT_EQ(qevExecuteSql("delete from fileinfo"), 0);
  EXPECT_TRUE(fs::is_directory(base.path() + "/config"));
  EXPECT_TRUE(fs::is_empty(base.path() + "/config"));
  qevOverrideExeDirForTesting("");
}

class StoreTest : public ::testing::Test {
 protected:
  TemporaryProgramDir dir;
  MessageLog messages;
};

TEST_F(StoreTest, FirstValueFollowsTheValueRules) {
  struct Case {
    const char* name;
    std::vector<std::optional<std::string>> checkValues;  // rows of this case, in order
    std::string column;
    int expected;
    std::string value;
  };
  const Case cases[] = {
      {"no rows", {}, "filechkval", 2, ""},
      {"null in every row", {std::nullopt, std::nullopt}, "filechkval", 2, ""},
      {"blank values are empty", {"   ", "\t\r\n"}, "filechkval", 2, ""},
      {"first usable value, trimmed", {std::nullopt, "  ", "  abc \r\n", "def"}, "filechkval", 1, "abc"},
      {"column names without regard to case", {"abc"}, "FILECHKVAL", 1, "abc"},
      {"numbers as decimal text", {"x"}, "filesize", 1, "4294967296"},
      {"no such column", {"abc"}, "nosuchcolumn", 0, ""},
  };
  int caseNumber = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string fid = "case" + std::to_string(++caseNumber);
    for (const auto& checkValue : c.checkValues) insertCheckValueRow(fid, checkValue);
    ASSERT_EQ(qevExecuteSql("update fileinfo set filesize = 4294967296 where fid = '" + fid + "'"), 1);
    std::string value = "stale";
    EXPECT_EQ(qevReadFirstValue("select * from fileinfo where fid = '" + fid + "' order by id asc", c.column, value),
              c.expected);
    EXPECT_EQ(value, c.value);
  }
  std::string value;
  EXPECT_EQ(qevReadFirstValue("selec * from fileinfo", "fid", value), 0);
}

TEST_F(StoreTest, ColumnValuesCountOnlyNullAndUsableRowsAgainstTheLimit) {
  struct Case {
    const char* name;
    std::vector<std::optional<std::string>> checkValues;
    int limit;
    int expected;
    std::vector<std::string> values;
  };
  const std::vector<std::optional<std::string>> mixed = {"a", "   ", " b ", std::nullopt, "c"};
  const Case cases[] = {
      {"blank passed over, null counted", mixed, 3, 1, {"a", "b"}},
      {"limit above the rows", mixed, 10, 1, {"a", "b", "c"}},
      {"limit of one", mixed, 1, 1, {"a"}},
      {"only null and blank", {std::nullopt, " "}, 5, 2, {}},
      {"no rows", {}, 5, 2, {}},
      {"limit below one refused", mixed, 0, 0, {}},
  };
  int caseNumber = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string fid = "case" + std::to_string(++caseNumber);
    for (const auto& checkValue : c.checkValues) insertCheckValueRow(fid, checkValue);
    std::vector<std::string> values = {"stale"};
    EXPECT_EQ(qevReadColumnValues("fileinfo", "fid", fid, "filechkval", c.limit, values), c.expected);
    EXPECT_EQ(values, c.values);
  }
}

TEST_F(StoreTest, ColumnValuesStopAtTheLimitOverTenThousandRows) {
  std::vector<std::string> inserts;
  for (int i = 0; i < 10000; ++i) {
    inserts.push_back("insert into fileinfo(CompactDatabase, filepath) values ('2', 'p" + std::to_string(i) + "')");
  }
  ASSERT_EQ(qevExecuteSqlList(inserts), 1);
  std::vector<std::string> values;
  ASSERT_EQ(qevReadColumnValues("fileinfo", "CompactDatabase", "2", "filepath", 9999, values), 1);
  ASSERT_EQ(values.size(), 9999u);
  EXPECT_EQ(values.front(), "p0");
  EXPECT_EQ(values.back(), "p9998");
}

TEST_F(StoreTest, KeyValuesAreQuotedAndNamesMustBePlain) {
  insertCheckValueRow("it's", "quoted");
  insertCheckValueRow("other", "secret");
  struct Case {
    const char* name;
    std::string table;
    std::string keyColumn;
    std::string keyValue;
    std::string column;
    int expected;
    std::string value;
  };
  const Case cases[] = {
      {"apostrophe in the key value", "fileinfo", "fid", "it's", "filechkval", 1, "quoted"},
      {"key value cannot widen the condition", "fileinfo", "fid", "x' or '1'='1", "filechkval", 2, ""},
      {"table name with a second statement", "fileinfo; delete from fileinfo", "fid", "other", "filechkval", 0, ""},
      {"column name with a comment", "fileinfo", "fid--", "other", "filechkval", 0, ""},
      {"empty column name", "fileinfo", "fid", "other", "", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string latest = "stale";
    EXPECT_EQ(qevReadLatestValue(c.table, c.keyColumn, c.keyValue, "id", c.column, latest), c.expected);
    EXPECT_EQ(latest, c.value);
    std::vector<std::string> values;
    EXPECT_EQ(qevReadColumnValues(c.table, c.keyColumn, c.keyValue, c.column, 10, values), c.expected);
  }
  EXPECT_EQ(countRows("fileinfo"), "2");
}

TEST(SqlQuote, DoublesEveryApostrophe) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"plain", "plain"}, {"it's", "it''s"}, {"''", "''''"}, {"'a'b'", "''a''b''"}};
  for (const auto& [value, quoted] : cases) EXPECT_EQ(qevSqlQuote(value), quoted) << value;
}

TEST_F(StoreTest, FmlogLookupTakesValuesOfAtMost4095Bytes) {
  struct Case {
    const char* name;
    std::vector<std::string> values;
    int expected;
    std::string value;
  };
  const std::string longest(4095, 'v');
  const std::string tooLong(4096, 'w');
  const Case cases[] = {
      {"4095 bytes", {longest}, 1, longest},
      {"4096 bytes are passed over", {tooLong}, 2, ""},
      {"the next row then counts", {tooLong, "short"}, 1, "short"},
  };
  int caseNumber = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string fid = "case" + std::to_string(++caseNumber);
    for (const std::string& value : c.values) {
      ASSERT_EQ(qevExecuteSql("insert into fmlog(fid, filechkvalue) values ('" + fid + "', '" + value + "')"), 1);
    }
    std::string value = "stale";
    EXPECT_EQ(qevReadFmlogValue("fid", fid, "filechkvalue", value), c.expected);
    EXPECT_EQ(value, c.value);
  }
}

TEST_F(StoreTest, RecordPathDecodesTheNewestPathOfTheRecord) {
  const std::u16string unusual = u"/srv/www/网站/con.txt" + std::u16string(1, char16_t(0xDC80)) + u"/\U0001F600";
  struct Case {
    const char* name;
    std::string recordId;
    std::string stored;
    int expected;
    std::u16string path;
  };
  const Case cases[] = {
      {"names outside ASCII and lone surrogates", "0_20261210013400_1", qevEncodeStoredName(unusual), 1, unusual},
      {"record id of 1023 characters", std::string(1023, 'r'), qevEncodeStoredName(u"/a"), 1, u"/a"},
      {"record id of 1024 characters", std::string(1024, 'r'), qevEncodeStoredName(u"/a"), 0, u""},
      {"empty record id", "", qevEncodeStoredName(u"/a"), 0, u""},
      {"error text instead of Base64", "1_x", "（读取文件名时发生错误！）", 0, u""},
      {"decoded 102,398 bytes", "2_x", qevEncodeStoredName(std::u16string(51199, u'a')), 1,
       std::u16string(51199, u'a')},
      {"decoded 102,400 bytes", "3_x", qevEncodeStoredName(std::u16string(51200, u'a')), 0, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // An older row of the same record shows that the newest one is taken.
    for (const std::string& stored : {qevEncodeStoredName(u"/older"), c.stored}) {
      ASSERT_EQ(qevExecuteSql("insert into fileinfo(filenameid, filepath) values ('" + c.recordId + "', '" +
                              stored + "')"),
                1);
    }
    std::u16string path = u"stale";
    EXPECT_EQ(qevGetRecordPath(c.recordId, path), c.expected);
    EXPECT_EQ(path, c.path);
  }
  std::u16string path;
  EXPECT_EQ(qevGetRecordPath("unknown", path), 0);
}

TEST_F(StoreTest, OnlyOneStatementPerCall) {
  const std::string insert = "insert into fileinfo(fid) values ('added')";
  struct Case {
    const char* name;
    std::string statement;
    int expected;
    const char* rowsAfter;
  };
  const Case cases[] = {
      {"second statement refused as a whole", insert + "; delete from fileinfo", 0, "1"},
      {"second statement after a select", "select * from fileinfo; delete from fileinfo", 0, "1"},
      {"closing semicolon", insert + ";", 1, "2"},
      {"semicolons and blanks after the statement", insert + " ;  ;\r\n", 1, "3"},
      {"empty text", "", 0, "3"},
      {"only blanks", "  \t ", 0, "3"},
      {"only a semicolon", ";", 0, "3"},
      {"only a comment", "-- nothing", 0, "3"},
      {"second statement hidden behind a zero byte", "delete from fileinfo" + std::string(1, '\0') + "; x", 0, "3"},
      {"zero byte inside a literal", "delete from fileinfo where fid = 'a" + std::string(1, '\0') + "' or 1 = 1", 0, "3"},
  };
  ASSERT_EQ(qevExecuteSql(insert), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(qevExecuteSql(c.statement), c.expected);
    EXPECT_EQ(countRows("fileinfo"), c.rowsAfter);
  }
  std::string value;
  EXPECT_EQ(qevReadFirstValue("select * from fileinfo; delete from fileinfo", "fid", value), 0);
  EXPECT_EQ(qevQueryRows("select * from fileinfo; delete from fileinfo", [](const StoreRow&) { return true; }), 0);
  EXPECT_EQ(countRows("fileinfo"), "3");
}

TEST_F(StoreTest, StatementListCommitsAllOrNothingAndLeavesNoLock) {
  const std::string insertA = "insert into fileinfo(fid) values ('a')";
  const std::string insertB = "insert into fileinfo(fid) values ('b')";
  struct Case {
    const char* name;
    std::vector<std::string> statements;
    int expected;
    const char* rows;
  };
  const Case cases[] = {
      {"empty list", {}, 1, "0"},
      {"only blank entries", {"", "  ", "\t\r\n"}, 1, "0"},
      {"blank entries skipped", {insertA, "   ", "  " + insertB + "  "}, 1, "2"},
      {"failing statement", {insertA, "insert into nosuchtable values (1)", insertB}, 0, "0"},
      {"entry with a second statement", {insertA, insertB + "; delete from fileinfo"}, 0, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(qevExecuteSql("delete from fileinfo"), 1);
    EXPECT_EQ(qevExecuteSqlList(c.statements), c.expected);
    EXPECT_EQ(countRows("fileinfo"), c.rows);
    EXPECT_TRUE(storeIsUnlocked(dir.store()));
  }
}

TEST_F(StoreTest, QueryRowsHandsOverValuesAsStored) {
  ASSERT_EQ(qevExecuteSqlList({"insert into fileinfo(filename, filesize, fileinfo) values ('  first  ', 12, null)",
                               "insert into fileinfo(filename, filesize, fileinfo) values ('second', 0, 'x')",
                               "insert into fileinfo(filename, filesize, fileinfo) values ('third', 0, 'x')"}),
            1);
  std::vector<std::string> names;
  std::vector<std::string> sizes;
  std::vector<std::string> states;
  bool unknownColumnFound = true;
  EXPECT_EQ(qevQueryRows("select top 2 * from fileinfo order by id asc",
                         [&](const StoreRow& row) {
                           std::string value;
                           EXPECT_TRUE(row.text("FileName", value));
                           names.push_back(value);
                           EXPECT_TRUE(row.text("filesize", value));
                           sizes.push_back(value);
                           EXPECT_TRUE(row.text("fileinfo", value));
                           states.push_back(value);
                           unknownColumnFound = row.text("nosuchcolumn", value);
                           return true;
                         }),
            1);
  EXPECT_EQ(names, (std::vector<std::string>{"  first  ", "second"}));
  EXPECT_EQ(sizes, (std::vector<std::string>{"12", "0"}));
  EXPECT_EQ(states, (std::vector<std::string>{"", "x"}));
  EXPECT_FALSE(unknownColumnFound);

  int seen = 0;
  EXPECT_EQ(qevQueryRows("select * from fileinfo", [&](const StoreRow&) { return ++seen < 1; }), 1);
  EXPECT_EQ(seen, 1);
}

}  // namespace
