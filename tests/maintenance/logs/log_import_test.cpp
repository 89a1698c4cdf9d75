// The import of downloaded logs into fmlog on a real store: which lines are used, that every
// field is stored byte for byte, that a file's rows are replaced rather than doubled, and which
// files the re-import takes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/files/paths.h"
#include "common/store/datastore.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_records.h"
#include "maintenance/logs/log_import.h"
#include "maintenance/logs/log_lines.h"
#include "maintenance/logs/log_reimport.h"
#include "support/files.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace {

const std::vector<std::string> kColumns = {"fid",       "serip",         "regdate",  "regtime",      "fileextname",
                                           "fileaction", "chkfile",      "chkfileinfo", "blockfile", "blockfileinfo",
                                           "filename",  "filesize",      "filechkvalue", "filetype"};

// A log line of count fields "f0".."f<count-1>", field 10 padded with "x" to make the line
// length bytes long (when length is given).
std::string logLine(int count, std::size_t length = 0) {
  std::vector<std::string> fields;
  for (int i = 0; i < count; ++i) fields.push_back("f" + std::to_string(i));
  auto join = [&fields] {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : "\t") + fields[i];
    return line;
  };
  if (length > 0) {
    const std::size_t padded = count > 10 ? 10 : static_cast<std::size_t>(count - 1);
    fields[padded] += std::string(length - join().size(), 'x');
  }
  return join();
}

std::string fieldOf(const std::string& line, int number) {
  std::size_t start = 0;
  for (int i = 0; i < number; ++i) start = line.find('\t', start) + 1;
  return line.substr(start, line.find('\t', start) - start);
}

using Row = std::vector<std::string>;

std::vector<Row> fmlogRows(const std::string& condition = "") {
  std::vector<Row> rows;
  EXPECT_EQ(qevQueryRows("select * from fmlog" + condition + " order by id asc",
                         [&rows](const StoreRow& stored) {
                           Row row;
                           for (const std::string& column : kColumns) {
                             std::string value;
                             stored.text(column, value);
                             row.push_back(value);
                           }
                           rows.push_back(row);
                           return true;
                         }),
            1);
  return rows;
}

class LogImportTest : public ::testing::Test {
 protected:
  // A log file in the download directory, named as the download names it.
  std::string storeLog(const std::string& name, const std::string& text) {
    const std::string directory = qevDownloadDirectory();
    EXPECT_EQ(qevCreateDirectoryChain(directory), 1);
    const std::string path = directory + "/" + name;
    writeFile(path, text);
    return path;
  }

  TemporaryProgramDir programDir_;
  ScriptedPrompter prompter_;
};

TEST_F(LogImportTest, UsesLinesOfTenTo10240BytesWithAtLeastFourteenFields) {
  const struct {
    const char* what;
    std::string line;
    bool used;
  } cases[] = {
      {"9 bytes", "123456789", false},
      {"14 fields in 14 bytes", "\t\t\t\t\t\t\t\t\t\t\t\t\ta", true},
      {"14 fields of 10,240 bytes", logLine(14, 10'240), true},
      {"14 fields of 10,241 bytes", logLine(14, 10'241), false},
      {"13 fields", logLine(13, 200), false},
      {"14 fields", logLine(14), true},
      {"20 fields", logLine(20), true},
  };
  for (const auto& c : cases) {
    LogLineFields fields;
    EXPECT_EQ(qevSplitLogLine(c.line, fields), c.used) << c.what;
    const std::string text = "\r\n\r\n" + c.line + "\n\r";
    EXPECT_EQ(qevUsedLogLines(text).size(), c.used ? 1u : 0u) << c.what;
  }
}

TEST_F(LogImportTest, StoresEveryKeptFieldAsItIsAndLeavesOutFieldsZeroFiveAndBeyondThirteen) {
  // Apostrophes, quotes, a semicolon and blanks in every field: each one is a value, never part of
  // a statement. A line close to 10,240 bytes is stored too.
  std::string line;
  for (int i = 0; i < 16; ++i) line += (i == 0 ? "" : "\t") + std::string(" it's \"f") + std::to_string(i) + "\"; ";
  const std::string longLine = logLine(14, 10'240);
  const std::string path = storeLog("_10.0.0.1_o'brien_FMLog_2026.txt", line + "\r\n" + longLine + "\r\n");
  bool stored = false;
  ASSERT_EQ(qevImportLogFile("10.0.0.1'", path, &stored), 1);
  EXPECT_TRUE(stored);

  const std::vector<Row> rows = fmlogRows();
  ASSERT_EQ(rows.size(), 2u);
  Row expected = {path, "10.0.0.1'"};
  for (int field : {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13}) {
    expected.push_back(" it's \"f" + std::to_string(field) + "\"; ");
  }
  EXPECT_EQ(rows[0], expected);
  EXPECT_EQ(rows[1][10], fieldOf(longLine, 10));
}

TEST_F(LogImportTest, AnUnreadableFileImportsNothing) {
  bool stored = true;
  EXPECT_EQ(qevImportLogFile("10.0.0.1", programDir_.path() + "missing.txt", &stored), 0);
  EXPECT_FALSE(stored);
  EXPECT_EQ(qevImportLogFile("10.0.0.1", storeLog("_10.0.0.1_empty_fmlog_2026.txt", ""), &stored), 0);
  EXPECT_TRUE(fmlogRows().empty());
}

TEST_F(LogImportTest, ImportingAFileAgainReplacesItsRowsAndLeavesOtherFilesAlone) {
  const std::string first = storeLog("_10.0.0.1_a_fmlog_2026.txt", logLine(14) + "\n" + logLine(14));
  const std::string second = storeLog("_10.0.0.2_a_fmlog_2026.txt", logLine(14));
  ASSERT_EQ(qevImportLogFile("10.0.0.1", first), 1);
  ASSERT_EQ(qevImportLogFile("10.0.0.2", second), 1);
  writeFile(first, logLine(15));
  ASSERT_EQ(qevImportLogFile("10.0.0.1", first), 1);
  EXPECT_EQ(fmlogRows(" where fid = '" + qevSqlQuote(first) + "'").size(), 1u);
  EXPECT_EQ(fmlogRows(" where fid = '" + qevSqlQuote(second) + "'").size(), 1u);
}

TEST_F(LogImportTest, AFailedBatchKeepsTheRowsTheFileHadBefore) {
  const std::string path = storeLog("_10.0.0.1_a_fmlog_2026.txt", logLine(14));
  ASSERT_EQ(qevImportLogFile("10.0.0.1", path), 1);
  // A trigger refuses every further insert, as a full disk or a broken store would.
  ASSERT_EQ(qevExecuteSql("create trigger refuse before insert on fmlog begin select raise(abort, 'no'); end"), 1);
  writeFile(path, logLine(14) + "\n" + logLine(14) + "\n" + logLine(14));
  bool stored = true;
  EXPECT_EQ(qevImportLogFile("10.0.0.1", path, &stored), 1);
  EXPECT_FALSE(stored);
  EXPECT_EQ(fmlogRows().size(), 1u);
}

TEST_F(LogImportTest, ReadsTheServerAndTheListedNameBackFromAStoredName) {
  const struct {
    std::string fileName;
    int code;
    std::string ip;
    std::string listedName;
  } cases[] = {
      {"_192.168.100.200_x_FMLog_2026.txt", 1, "192.168.100.200", "x_FMLog_2026.txt"},
      {"_1.2.3.4_abc", 1, "1.2.3.4", "abc"},
      {"_1.2.3.4_ab", 0, "", ""},                 // listed name of 2 bytes
      {"_123456_x_fmlog_2026.txt", 0, "", ""},     // ip of 6 bytes
      {"_1234567890123456_x.txt", 0, "", ""},      // ip of 16 bytes
      {"__fmlog_2026.txt", 0, "", ""},             // no ip
      {"x_fmlog_2026.txt", 0, "", ""},             // one "_" before the name only
      {"_" + std::string(7, '1') + "_" + std::string(256, 'n'), 0, "", ""},
  };
  for (const auto& c : cases) {
    std::string ip = "stale";
    std::string listedName = "stale";
    EXPECT_EQ(qevLogFileOrigin(c.fileName, ip, listedName), c.code) << c.fileName;
    EXPECT_EQ(ip, c.ip) << c.fileName;
    EXPECT_EQ(listedName, c.listedName) << c.fileName;
  }
}

TEST_F(LogImportTest, ReimportTakesTheDownloadedLogsWhateverTheirCaseAndNeverDoublesRows) {
  const std::string plain = storeLog("_10.0.0.1_a_FMLog_2026.txt", logLine(14));
  const std::string upper = storeLog("_10.0.0.1_B_FMLOG_2027.TXT", logLine(14) + "\n" + logLine(14));
  const std::string shortIp = storeLog("_123456_c_fmlog_2026.txt", logLine(14));
  const std::string marked = storeLog("_10.0.0.2_d_fmlog_2026.txt", logLine(14));
  storeLog("10.0.0.3_e_fmlog_2026.txt", logLine(14));  // not a downloaded log's name: not looked at
  ASSERT_EQ(qevRecordLogFetched("10.0.0.2", "d_fmlog_2026.txt", 100), 1);
  ASSERT_EQ(qevExecuteSql("update downloadinfo set adddb = '1'"), 1);

  std::map<std::string, ReimportOutcome> outcomes;
  const ReimportHooks hooks{[&outcomes](const std::string& path, ReimportOutcome outcome) { outcomes[path] = outcome; }};
  for (int round = 0; round < 2; ++round) {
    prompter_.answerNext(PromptAnswer::Yes);
    ASSERT_EQ(qevReimportLogFiles(prompter_, hooks), 1);
    EXPECT_EQ(fmlogRows().size(), 3u) << "round " << round;
  }
  const std::map<std::string, ReimportOutcome> expected = {
      {plain, ReimportOutcome::Imported},
      {upper, ReimportOutcome::Imported},
      {shortIp, ReimportOutcome::NameNotUnderstood},
      {marked, ReimportOutcome::MarkedImported},
  };
  EXPECT_EQ(outcomes, expected);
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[0].text, "确定将先前下载的日志文件重新导入到数据库中吗？");
  EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::YesNo);
}

TEST_F(LogImportTest, ReimportAsksFirstAndSaysSoWhenThereIsNothingToImport) {
  EXPECT_EQ(qevReimportLogFiles(prompter_), 2);  // the scripted prompter answers No
  ASSERT_EQ(prompter_.shown().size(), 1u);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevReimportLogFiles(prompter_), 0);
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[1].text, "日志文件未找到，请重新下载日志文件！");
  EXPECT_EQ(prompter_.shown()[1].buttons, PromptButtons::Ok);
}

}  // namespace
