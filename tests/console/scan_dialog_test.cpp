// The scan list dialog: what it shows at opening, the folder picker, and every check of
// "开始扫描" with the list it saves.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>

#include "console/folder_picker.h"
#include "console/main_window_fixture.h"
#include "console/scan_config_dlg.h"

namespace fs = std::filesystem;

namespace {

const std::string kNoDirectory = "请填写需要扫描的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";
const std::string kLength = "请填写的扫描目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的扫描目录名！";
const std::string kStartQuestion = "确定开始扫描硬盘目录中的文件吗？";

std::string missing(const std::string& line) {
  return "填写的扫描目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的扫描目录名！";
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ScanDialogTest : public ::testing::Test {
 protected:
  ScanDialogTest() {
    testApplication();
    fs::create_directories(sites_.path() + "/Www");
    fs::create_directories(sites_.path() + "/www");
    std::ofstream(sites_.path() + "/plain.txt") << "x";
  }
  ~ScanDialogTest() override { qevSetFolderPickerForTesting(nullptr); }

  std::string scanList() const { return readFile(programDir_.path() + "config/ScanDir.txt"); }
  void saveScanList(const std::string& text) const {
    std::ofstream(programDir_.path() + "config/ScanDir.txt", std::ios::binary) << text;
  }
  void type(CScanConfigDlg& dialog, const std::string& text) {
    dialog.directoryEdit().setPlainText(QString::fromStdString(text));
  }
  const std::string& site() const { return sites_.path(); }

  TemporaryProgramDir programDir_;
  TemporaryDir sites_;
  ScriptedPrompter prompter_;
};

TEST_F(ScanDialogTest, RefusedListsShowTheirMessageAndKeepTheSavedList) {
  // Typed with "\n" line ends, as the edit gives them back.
  const std::string tooLong = [] {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "/" + std::string(220, 'a') + std::to_string(i) + "\n";
    return text;
  }();
  struct Case {
    const char* name;
    std::string typed;
    std::string message;
  };
  const Case cases[] = {
      {"empty", "", kNoDirectory},
      {"blank lines only", "  \n\t\n\n", kNoDirectory},
      {"every line longer than 260 bytes", "/" + std::string(300, 'b'), kNoDirectory},
      {"saved text of 8192 bytes or more", tooLong, kLength},
      {"a bare drive is no Linux directory", "d:", missing("d:")},
      {"a missing directory", site() + "/Www\n" + site() + "/gone", missing(site() + "/gone")},
      {"a file is no directory to scan", site() + "/plain.txt", missing(site() + "/plain.txt")},
      {"a path that differs in case is another directory", site() + "/WWW", missing(site() + "/WWW")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    saveScanList("/earlier\r\n");
    prompter_.clear();
    CScanConfigDlg dialog(prompter_);
    type(dialog, c.typed);
    EXPECT_FALSE(dialog.onStartScan());
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, c.message);
    EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(scanList(), "/earlier\r\n");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
}

TEST_F(ScanDialogTest, AcceptedListIsNormalizedSavedAndConfirmed) {
  CScanConfigDlg dialog(prompter_);
  type(dialog, "  " + site() + "/Www  \n\n" + site() + "/www\n" + site() + "/Www\n\n");
  prompter_.answerNext(PromptAnswer::Yes);

  EXPECT_TRUE(dialog.onStartScan());
  const std::string saved = site() + "/Www\r\n" + site() + "/www\r\n";
  EXPECT_EQ(scanList(), saved);
  EXPECT_EQ(dialog.directoryText(), saved);
  EXPECT_EQ(dialog.editText(), saved);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].text, kStartQuestion);
  EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ScanDialogTest, LinkToADirectoryIsAcceptedAsAScanRootAndSavedAsTyped) {
  fs::create_directory_symlink(site() + "/www", site() + "/current");
  CScanConfigDlg dialog(prompter_);
  type(dialog, site() + "/current");
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_TRUE(dialog.onStartScan());
  EXPECT_EQ(scanList(), site() + "/current\r\n");
  EXPECT_EQ(prompter_.shown().back().text, kStartQuestion);
}

TEST_F(ScanDialogTest, LinksThatLeadToNoDirectoryAreRefused) {
  fs::create_symlink(site() + "/plain.txt", site() + "/to-file");
  fs::create_symlink(site() + "/gone", site() + "/dangling");
  for (const std::string& link : {site() + "/to-file", site() + "/dangling"}) {
    SCOPED_TRACE(link);
    prompter_.clear();
    CScanConfigDlg dialog(prompter_);
    type(dialog, link);
    EXPECT_FALSE(dialog.onStartScan());
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, missing(link));
  }
}

// The scan must not start on the old list when the new one cannot be written.
TEST_F(ScanDialogTest, ListThatCannotBeSavedIsReportedAndTheDialogStaysOpen) {
  fs::create_directory(programDir_.path() + "config/ScanDir.txt");
  CScanConfigDlg dialog(prompter_);
  type(dialog, site() + "/www");
  EXPECT_FALSE(dialog.onStartScan());
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].text, "保存配置文件“" + programDir_.path() + "config/ScanDir.txt”失败，请重试！");
  EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Question);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(ScanDialogTest, AnsweringNoKeepsTheDialogOpenWithTheListAlreadySaved) {
  CScanConfigDlg dialog(prompter_);
  type(dialog, site() + "/www\n" + site() + "/www");
  EXPECT_FALSE(dialog.onStartScan());
  EXPECT_EQ(scanList(), site() + "/www\r\n");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(ScanDialogTest, OpeningShowsTheSavedListWithoutEmptyLines) {
  saveScanList("/srv/a\r\n\r\n\r\n\r\n/srv/b\r\n");
  CScanConfigDlg dialog(prompter_);
  EXPECT_EQ(dialog.directoryText(), "/srv/a\r\n/srv/b\r\n");
  EXPECT_EQ(dialog.directoryEdit().toPlainText().toStdString(), "/srv/a\n/srv/b\n");
}

TEST_F(ScanDialogTest, OpeningWithoutConfigFolderCreatesItAndShowsAnEmptyList) {
  fs::remove_all(programDir_.path() + "config");
  CScanConfigDlg dialog(prompter_);
  EXPECT_TRUE(fs::is_directory(programDir_.path() + "config"));
  EXPECT_EQ(dialog.directoryText(), "");
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(ScanDialogTest, PickedFolderIsAppendedToTheStoredTextNotToTheEdit) {
  saveScanList("/srv/a\r\n");
  std::string answer = "/srv/picked";
  qevSetFolderPickerForTesting([&answer](QWidget*, std::string& path) {
    path = answer;
    return 1;
  });
  CScanConfigDlg dialog(prompter_);
  type(dialog, "typed but not saved");
  dialog.onBrowse();
  EXPECT_EQ(dialog.editText(), "/srv/a\r\n/srv/picked\r\n");

  answer = "/" + std::string(259, 'p');  // 260 bytes: too long for a scan root
  dialog.onBrowse();
  EXPECT_EQ(dialog.directoryText(), "/srv/a\r\n/srv/picked\r\n");
}

}  // namespace
