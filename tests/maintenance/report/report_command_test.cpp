// The report command over the view's rows: which rows it takes, every question and message, and
// the report sender started with "/s" only when there is something to send.
#include "maintenance/report/report_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/store/datastore.h"
#include "common/text/check_value.h"
#include "maintenance/logs/monitor_log_row.h"
#include "support/companions.h"
#include "support/files.h"
#include "support/monitor_log_rows.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

class ReportCommandTest : public ::testing::Test {
 protected:
  ReportCommandTest() { writeCompanion(programDir.path(), kReportSenderExeName); }

  // A suspicious file of the site, its log row and its row in the view.
  ViewRow suspicious(const std::string& name, bool checked, const std::string& category = kSuspiciousCategoryText) {
    const std::string path = site.path() + "/" + name;
    writeFile(path, "<?php eval($_POST['" + name + "']); ?>");
    LogRowFields fields;
    fields.path = path;
    fields.category = category;
    EXPECT_EQ(qevFileCheckValue(path, kCheckName, fields.checkValue), 1);
    return ViewRow{checked, path, category, insertMonitorLogRow(fields)};
  }

  bool report(const std::vector<ViewRow>& rows) {
    const auto confirm = [this](const std::vector<std::string>& paths) {
      confirmed.push_back(paths);
      return confirmAnswer;
    };
    return qevReportSuspiciousFiles(prompter, rows, confirm);
  }

  std::vector<std::string> shownTexts() const {
    std::vector<std::string> texts;
    for (const auto& shown : prompter.shown()) texts.push_back(shown.text);
    return texts;
  }

  bool senderRan() const { return waitForCompanionRun(programDir.path(), kReportSenderExeName, 10); }
  // A sender that was started records its arguments at once; a second shows it was not.
  bool senderStayedStill() const { return !waitForCompanionRun(programDir.path(), kReportSenderExeName, 1); }

  TemporaryProgramDir programDir;
  TemporaryDir site;
  ScriptedPrompter prompter;
  bool confirmAnswer = true;
  std::vector<std::vector<std::string>> confirmed;
};

TEST_F(ReportCommandTest, CheckedSuspiciousRowsAreConfirmedPreparedAndTheSenderStartsWithSlashS) {
  const ViewRow shell = suspicious("shell.php", true);
  const ViewRow unchecked = suspicious("other.php", false);
  const ViewRow normal = suspicious("index.php", true, "正常文件");
  EXPECT_TRUE(report({shell, unchecked, normal}));
  EXPECT_EQ(confirmed, (std::vector<std::vector<std::string>>{{shell.path}}));
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportStartedMessage}));
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Information);
  ASSERT_TRUE(senderRan());
  EXPECT_EQ(companionArguments(programDir.path(), kReportSenderExeName), "/s\n");
  EXPECT_EQ(fs::directory_iterator(programDir.path() + "ReportFile")->path().filename().string().substr(0, 4), "file");
}

TEST_F(ReportCommandTest, WithNoneCheckedTheOperatorMayReportEverySuspiciousRow) {
  const ViewRow first = suspicious("a.php", false);
  const ViewRow second = suspicious("b.php", false);
  const ViewRow normal = suspicious("index.php", false, "正常文件");

  EXPECT_FALSE(report({first, second, normal}));  // No
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportAllQuestion}));
  EXPECT_TRUE(confirmed.empty());

  prompter.clear();
  prompter.answerNext(PromptAnswer::Yes);
  EXPECT_TRUE(report({first, second, normal}));
  EXPECT_EQ(confirmed, (std::vector<std::vector<std::string>>{{first.path, second.path}}));
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportAllQuestion, kReportStartedMessage}));

  prompter.clear();
  prompter.answerNext(PromptAnswer::Yes);
  EXPECT_FALSE(report({normal}));
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportAllQuestion, kReportNothingSuspiciousMessage}));
}

TEST_F(ReportCommandTest, ACancelledConfirmationReportsNothing) {
  confirmAnswer = false;
  EXPECT_FALSE(report({suspicious("a.php", true)}));
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_FALSE(fs::exists(programDir.path() + "ReportFile"));
  EXPECT_TRUE(senderStayedStill());
}

TEST_F(ReportCommandTest, AFileReportedBeforeStartsTheSenderOnlyWhileCopiesStillWait) {
  const ViewRow shell = suspicious("shell.php", true);
  ASSERT_TRUE(report({shell}));
  ASSERT_TRUE(senderRan());
  fs::remove(programDir.path() + std::string(kReportSenderExeName) + ".args");

  // Its copy still waits: sent again.
  prompter.clear();
  EXPECT_TRUE(report({shell}));
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportStartedMessage}));
  ASSERT_TRUE(senderRan());
  fs::remove(programDir.path() + std::string(kReportSenderExeName) + ".args");

  // Taken by the sender: nothing to send.
  ASSERT_EQ(qevExecuteSql("update reportfile set reportstatus = '1'"), 1);
  prompter.clear();
  EXPECT_FALSE(report({shell}));
  EXPECT_EQ(shownTexts(), (std::vector<std::string>{kReportAlreadyDoneMessage}));
  EXPECT_TRUE(senderStayedStill());
}

TEST_F(ReportCommandTest, AMissingSenderIsToldBeforeAnythingElse) {
  fs::remove(programDir.path() + kReportSenderExeName);
  EXPECT_FALSE(report({suspicious("a.php", true)}));
  EXPECT_EQ(shownTexts(),
            (std::vector<std::string>{"文件“" + programDir.path() + kReportSenderExeName + "”未找到，请重试！"}));
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
  EXPECT_TRUE(confirmed.empty());
}

}  // namespace
