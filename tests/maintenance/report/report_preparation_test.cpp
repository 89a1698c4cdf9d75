// The report preparation over monitor-log rows: which files become report copies (size bound,
// the logged check value, earlier reports), what a copy and its reportfile row hold, the count
// it answers, and the removal of old copies.
#include "maintenance/report/report_preparation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "common/store/datastore.h"
#include "common/text/base64.h"
#include "common/text/check_value.h"
#include "maintenance/report/report_copies.h"
#include "support/files.h"
#include "support/monitor_log_rows.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

std::string checkValueOf(const std::string& path) {
  std::string value;
  EXPECT_EQ(qevFileCheckValue(path, kCheckName, value), 1) << path;
  return value;
}

int countOf(const std::string& statement) {
  std::string count;
  EXPECT_EQ(qevReadFirstValue(statement, "n", count), 1) << statement;
  return std::stoi(count);
}

class ReportPreparationTest : public ::testing::Test {
 protected:
  // A file of the site and its monitor-log row; the logged check value is the file's own unless
  // one is given. Answers the row's key.
  std::string loggedFile(const std::string& name, const std::string& bytes, const std::string& logged = "") {
    const std::string path = site.path() + "/" + name;
    writeFile(path, bytes);
    LogRowFields fields;
    fields.path = path;
    fields.checkValue = !logged.empty() ? logged : bytes.empty() ? std::string(32, '0') : checkValueOf(path);
    return insertMonitorLogRow(fields);
  }

  int prepare(const std::vector<std::string>& keys) {
    int count = -1;
    EXPECT_EQ(qevPrepareReport(prompter, keys, count), 1);
    return count;
  }

  std::string reportDir() const { return programDir.path() + "ReportFile"; }

  std::vector<std::string> copies() const {
    std::vector<std::string> names;
    if (!fs::exists(reportDir())) return names;
    for (const auto& entry : fs::directory_iterator(reportDir())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TemporaryProgramDir programDir;
  TemporaryDir site;
  ScriptedPrompter prompter;
};

TEST_F(ReportPreparationTest, OnlyFilesOfOneTo511999BytesThatAreTheLoggedOnesAreReported) {
  struct Case {
    const char* name;
    std::string key;
    bool reported;
  };
  const Case cases[] = {
      {"511999 bytes", loggedFile("largest.php", std::string(511999, 'a')), true},
      {"512000 bytes", loggedFile("too-large.php", std::string(512000, 'b')), false},
      {"an empty file", loggedFile("empty.php", ""), false},
      {"one byte", loggedFile("tiny.php", "c"), true},
      {"changed since it was logged", loggedFile("changed.php", "d", std::string(32, 'f')), false},
      {"logged value in upper case", loggedFile("upper.php", "e"), true},
      {"a row that does not exist", "999999", false},
      {"a key that is not a number", "1 or 1=1", false},
  };
  // The logged check value is compared without regard to case.
  ASSERT_EQ(qevExecuteSql("update fmlog set filechkvalue = upper(filechkvalue) where filename like '%upper.php'"), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int rowsBefore = countOf("select count(*) as n from reportfile");
    const int count = prepare({c.key});
    EXPECT_EQ(countOf("select count(*) as n from reportfile") - rowsBefore, c.reported ? 1 : 0);
    // Nothing new: the count is of the copies still waiting.
    EXPECT_EQ(count, c.reported ? 1 : rowsBefore);
  }
  EXPECT_EQ(copies().size(), 3u);
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ReportPreparationTest, ACopyIsTheScrambledFileInBase64AndItsRowWaitsToBeSent) {
  const std::string bytes = "<?php eval($_POST['x']); ?>\n";
  const std::string key = loggedFile("shell.php", bytes);
  const std::string sourceValue = checkValueOf(site.path() + "/shell.php");
  ASSERT_EQ(prepare({key}), 1);

  const std::string copy = qevReportCopyPath(reportDir(), sourceValue);
  EXPECT_EQ(copy, programDir.path() + "ReportFile/file" + sourceValue + ".dat");
  const std::string text = readFile(copy);
  std::string decoded(qevBase64DecodedSize(text.c_str()), '\0');
  decoded.resize(qevBase64Decode(text.c_str(), reinterpret_cast<unsigned char*>(decoded.data())));
  unsigned char combined = 0;
  for (const char c : std::string(kReportKeyText)) combined ^= static_cast<unsigned char>(c);
  for (char& c : decoded) c = static_cast<char>(c ^ combined);
  EXPECT_EQ(decoded, bytes);

  std::string copyValue;
  ASSERT_EQ(qevTextCheckValue(text, kCheckName, copyValue), 1);
  std::string stored;
  ASSERT_EQ(qevReadLatestValue("reportfile", "filechkval", sourceValue, "id", "newfilechkval", stored), 1);
  EXPECT_EQ(stored, copyValue);
  ASSERT_EQ(qevReadLatestValue("reportfile", "filechkval", sourceValue, "id", "reportstatus", stored), 1);
  EXPECT_EQ(stored, "2");
}

TEST_F(ReportPreparationTest, AFileReportedBeforeAddsNothingAndTheCountIsOfTheCopiesStillWaiting) {
  const std::string first = loggedFile("first.php", "first");
  const std::string second = loggedFile("second.php", "second");
  ASSERT_EQ(prepare({first, second}), 2);
  // The same file again, also through a second log row of it: nothing new, both still wait.
  const std::string again = insertMonitorLogRow([&] {
    LogRowFields fields;
    fields.path = site.path() + "/first.php";
    fields.checkValue = checkValueOf(fields.path);
    return fields;
  }());
  EXPECT_EQ(prepare({first, again}), 2);
  EXPECT_EQ(countOf("select count(*) as n from reportfile"), 2);

  // Once the sender has taken them, a file reported before counts nothing.
  ASSERT_EQ(qevExecuteSql("update reportfile set reportstatus = '1'"), 1);
  EXPECT_EQ(prepare({first}), 0);
  EXPECT_EQ(countOf("select count(*) as n from reportfile"), 2);
}

TEST_F(ReportPreparationTest, CopiesThreeDaysOldAreRemovedYoungerOnesAndOtherEntriesStay) {
  fs::create_directories(reportDir() + "/file-directory.dat");
  const auto now = fs::file_time_type::clock::now();
  const auto aged = [&](const std::string& name, std::chrono::hours age) {
    writeFile(reportDir() + "/" + name, "x");
    fs::last_write_time(reportDir() + "/" + name, now - age);
  };
  using std::chrono::hours;
  aged("fileTwoDays.dat", hours(2 * 24 + 23));
  aged("fileThreeDays.dat", hours(3 * 24 + 1));
  aged("fileTenDays.dat", hours(10 * 24));
  aged("other.dat", hours(10 * 24));
  aged("fileTenDays.txt", hours(10 * 24));
  fs::create_symlink(reportDir() + "/fileTwoDays.dat", reportDir() + "/fileLink.dat");
  prepare({});
  EXPECT_EQ(copies(), (std::vector<std::string>{"file-directory.dat", "fileLink.dat", "fileTenDays.txt",
                                                "fileTwoDays.dat", "other.dat"}));
}

TEST_F(ReportPreparationTest, TheReportDirectoryIsMadeWhenMissingAndNeverWrittenThroughALink) {
  const std::string key = loggedFile("a.php", "a");
  EXPECT_EQ(prepare({key}), 1);
  EXPECT_TRUE(fs::is_directory(reportDir()));

  fs::remove_all(reportDir());
  TemporaryDir elsewhere;
  fs::create_directory_symlink(elsewhere.path(), reportDir());
  int count = -1;
  EXPECT_EQ(qevPrepareReport(prompter, {key}, count), 0);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "建立目录“" + reportDir() + "”失败，请重试！");
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST_F(ReportPreparationTest, ACopyWhoseRowCannotBeWrittenIsRemovedAndNotCounted) {
  ASSERT_EQ(qevExecuteSql("create trigger refuse before insert on reportfile begin select raise(abort, 'no'); end"),
            1);
  const std::string key = loggedFile("a.php", "a");
  EXPECT_EQ(prepare({key}), 0);
  EXPECT_TRUE(copies().empty());
}

}  // namespace
