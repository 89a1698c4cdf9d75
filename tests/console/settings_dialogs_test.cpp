// The monitor rules and alarm settings dialogs offscreen: their controls, what they open with,
// what their buttons check, show and write, and the commands 1053 and 1081 that open them.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "common/files/settings.h"
#include "console/command_ids.h"
#include "console/folder_picker.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/modify_config_dlg.h"
#include "console/report_status_config_dlg.h"
#include "console/settings_commands.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

const std::string kDefaults = ".asp\r\n.php\r\n.aspx\r\n.ashx\r\n.asa\r\n.asax\r\n.cdx\r\n.cer\r\n";
const std::string kStartQuestion =
    "确定开启文件主动防御监控吗？\r\n\r\n\r\n特别说明：此功能模块依赖木马特征库，请定期使用“在线升级”获取最新的特征库文件。";

void type(QPlainTextEdit& edit, const std::string& text) { edit.setPlainText(QString::fromStdString(text)); }

std::string shownText(const QPlainTextEdit& edit) { return edit.toPlainText().toStdString(); }

QString buttonText(QWidget* widget) { return static_cast<QPushButton*>(widget)->text(); }

class SettingsDialogsTest : public ::testing::Test {
 protected:
  SettingsDialogsTest() {
    testApplication();
    fs::create_directories(sites_.path() + "/Www");
  }
  ~SettingsDialogsTest() override {
    qevSetFolderPickerForTesting(nullptr);
    qevSetSettingsDialogRunnerForTesting(nullptr);
  }

  std::string config(const std::string& name) const { return programDir_.path() + "config/" + name; }
  std::string site() const { return sites_.path() + "/Www"; }
  std::vector<std::string> shown() const {
    std::vector<std::string> texts;
    for (const auto& message : prompter_.shown()) texts.push_back(message.text);
    return texts;
  }

  TemporaryProgramDir programDir_;
  TemporaryDir sites_;
  ScriptedPrompter prompter_;
};

TEST_F(SettingsDialogsTest, MonitorRulesDialogOpensWithTheSavedListsAndItsControls) {
  writeFile(config("FMDir.txt"), "/srv/a\r\n\r\n/srv/b\r\n");
  writeFile(config("FMScript.txt"), ".asp\r\n");
  CModifyConfigDlg dialog(prompter_);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "主动防御文件监控规则设置");
  EXPECT_EQ(shownText(dialog.edit(1046)), "/srv/a\n/srv/b\n");
  EXPECT_EQ(shownText(dialog.edit(1054)), ".asp\n");
  EXPECT_EQ(shownText(dialog.edit(1055)), "");
  EXPECT_EQ(buttonText(dialog.control(1069)), "选择目录");
  EXPECT_EQ(buttonText(dialog.control(1045)), "启动主动防御");
  EXPECT_TRUE(static_cast<QPushButton*>(dialog.control(1045))->isDefault());
  EXPECT_EQ(buttonText(dialog.control(1)), "取消");
}

TEST_F(SettingsDialogsTest, MonitorRulesRefusalsFocusTheirEditAndKeepTheDialogOpen) {
  struct Case {
    const char* name;
    std::string directories;
    std::string whitelist;
    int focused;
  };
  const Case cases[] = {
      {"no directory", "", "", 1046},
      {"a missing directory", "/no/such/dir", "", 1046},
      {"a whitelist beyond 10 MiB", site(), [] {
         std::string text;
         for (int i = 0; text.size() <= 0xa00000; ++i) text += "/w" + std::to_string(i) + std::string(200, 'x') + "\n";
         return text;
       }(), 1055},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CModifyConfigDlg dialog(prompter_);
    dialog.show();
    type(dialog.edit(1046), c.directories);
    type(dialog.edit(1055), c.whitelist);
    dialog.edit(1054).setFocus();  // elsewhere: the refusal must move it
    prompter_.clear();
    EXPECT_FALSE(dialog.onStart());
    EXPECT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), &dialog.edit(c.focused));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(fs::exists(config("FMDir.txt")));
  }
}

TEST_F(SettingsDialogsTest, NoToTheLastQuestionKeepsTheDialogOpenWithTheFilesWritten) {
  CModifyConfigDlg dialog(prompter_);
  dialog.show();
  type(dialog.edit(1046), site() + "\n" + site() + "\n");
  type(dialog.edit(1054), ".ASP\n");
  type(dialog.edit(1055), "");
  EXPECT_FALSE(dialog.onStart());
  EXPECT_EQ(shown(), std::vector<std::string>({kStartQuestion}));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(readFile(config("FMDir.txt")), site() + "\r\n");
  EXPECT_EQ(readFile(config("FMScript.txt")), kDefaults);
  EXPECT_EQ(readFile(config("FMExDir.txt")), "\r\n");
  // The edits show what was saved.
  EXPECT_EQ(shownText(dialog.edit(1046)), site() + "\n");
  EXPECT_EQ(shownText(dialog.edit(1054)), ".asp\n.php\n.aspx\n.ashx\n.asa\n.asax\n.cdx\n.cer\n");

  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_TRUE(dialog.onStart());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsDialogsTest, FolderPickerAppendsToTheStoredDirectoryText) {
  writeFile(config("FMDir.txt"), "/srv/a\r\n");
  qevSetFolderPickerForTesting([](QWidget*, std::string& path) {
    path = "/srv/picked";
    return 1;
  });
  CModifyConfigDlg dialog(prompter_);
  type(dialog.edit(1046), "typed but not saved\n");
  dialog.onBrowse();
  EXPECT_EQ(shownText(dialog.edit(1046)), "/srv/a\n/srv/picked\n");
  EXPECT_EQ(dialog.rules().directories, "/srv/a\r\n/srv/picked\r\n");
}

TEST_F(SettingsDialogsTest, AlarmDialogShowsTheSettingsWithItsSettingControlsDisabled) {
  qevWriteSetting("ReportTime", "3");
  writeFile(config("FMReportUrl.dat"), "http://A.example/r\r\nhttp://a.example/R\r\n");
  std::vector<std::string> opened;
  CReportStatusConfigDlg dialog(prompter_, [&](const std::string& address) {
    opened.push_back(address);
    return true;
  });
  EXPECT_EQ(dialog.windowTitle().toStdString(), "监控报警设置");
  EXPECT_EQ(dialog.intervalEdit().text().toStdString(), "10");
  EXPECT_EQ(shownText(dialog.urlEdit()), "http://A.example/r\n");
  struct Control {
    int id;
    const char* text;  // nullptr for an edit
    bool enabled;
  };
  const Control controls[] = {{1046, nullptr, false}, {1083, nullptr, false},  {1062, "进入主控下载网页", true},
                              {1084, "测试设置", false}, {1086, "开启监控", false}, {1073, "停止监控", false},
                              {1, "关闭", true}};
  for (const Control& c : controls) {
    SCOPED_TRACE(c.id);
    ASSERT_NE(dialog.control(c.id), nullptr);
    EXPECT_EQ(dialog.control(c.id)->isEnabled(), c.enabled);
    if (c.text != nullptr) {
      EXPECT_EQ(buttonText(dialog.control(c.id)).toStdString(), c.text);
    }
  }

  static_cast<QPushButton*>(dialog.control(1062))->click();
  EXPECT_EQ(shown(), std::vector<std::string>(
                         {"主控网站ASP程序代码，可以从我们官方网站下载，网址是 https://www.tavernel.com/FileMon.asp"
                          "\r\n\r\n\r\n如果主控网站安装或设置上存在问题或疑问，请联系我们的客服人员，我们将热诚为您服务！"}));
  EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Information);
  EXPECT_EQ(opened, std::vector<std::string>({"https://www.tavernel.com/FileMon.asp?from=Sorrelmede&version=V570"}));

  static_cast<QPushButton*>(dialog.control(1))->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(SettingsDialogsTest, AlarmDialogSaveWritesWhatItShows) {
  CReportStatusConfigDlg dialog(prompter_, nullptr);
  type(dialog.urlEdit(), "http://A.example/r\nHTTP://a.example/R\n\n");
  dialog.intervalEdit().setText(QStringLiteral(" 10000 "));
  EXPECT_FALSE(dialog.onSave());
  EXPECT_FALSE(fs::exists(config("FMReportUrl.dat")));

  dialog.intervalEdit().setText(QStringLiteral(" 30 "));
  EXPECT_TRUE(dialog.onSave());
  EXPECT_EQ(readFile(config("FMReportUrl.dat")), "http://A.example/r\r\n");
  EXPECT_EQ(qevReadSetting("ReportTime"), "30");
  EXPECT_EQ(shownText(dialog.urlEdit()), "http://A.example/r\n");
  EXPECT_EQ(dialog.intervalEdit().text().toStdString(), "30");

  prompter_.answerNext(PromptAnswer::Yes);
  dialog.onAlarmOn();
  EXPECT_EQ(qevReadSetting("ReportStatus"), "1");
  prompter_.answerNext(PromptAnswer::Yes);
  dialog.onAlarmOff();
  EXPECT_EQ(qevReadSetting("ReportStatus"), "0");
}

TEST_F(SettingsDialogsTest, CommandsOpenTheirDialogs) {
  std::vector<std::string> titles;
  qevSetSettingsDialogRunnerForTesting([&](QDialog& dialog) {
    titles.push_back(dialog.windowTitle().toStdString());
    return static_cast<int>(QDialog::Rejected);
  });
  CSorrelmedeDlg::Desktop desktop;
  desktop.remoteHelpPages = false;
  CSorrelmedeDlg window(&prompter_, {}, desktop);
  qevInstallModuleCommands(window);
  window.dispatchCommand(command_id::kMonitorRules);
  window.dispatchCommand(command_id::kAlarmSettings);
  EXPECT_EQ(titles, std::vector<std::string>({"主动防御文件监控规则设置", "监控报警设置"}));
}

}  // namespace
