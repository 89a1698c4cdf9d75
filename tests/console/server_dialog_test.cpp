// The server list dialog, opened by command 1001 of the main window on a real store: what the
// list shows (never a password), the row click, and the buttons wired to the list's edits.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>

#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "console/main_window_modules.h"
#include "console/server_command.h"
#include "console/set_server_ip.h"
#include "maintenance/logs/server_store.h"

namespace {

constexpr int kIp = 1039;
constexpr int kPort = 1040;
constexpr int kUser = 1041;
constexpr int kPassword = 1042;
constexpr int kRepeated = 1046;
constexpr int kRemark = 1044;

void storeServer(const std::string& ip, const std::string& remark) {
  ASSERT_EQ(qevAddServerRow(ServerRow{ip, "8010", "admin", "Secret-" + ip, remark}), 1);
}

std::vector<std::string> rowTexts(QTableWidget& list, int row) {
  std::vector<std::string> texts;
  for (int column = 0; column < list.columnCount(); ++column)
    texts.push_back(list.item(row, column)->text().toStdString());
  return texts;
}

void type(CSetServerIP& dialog, int id, const std::string& text) {
  dialog.field(id).setText(QString::fromStdString(text));
}

class ServerDialogTest : public MainWindowTest {
 protected:
  ServerDialogTest() { prompter.clear(); }
  ~ServerDialogTest() override { qevSetServerDialogRunnerForTesting(nullptr); }
};

TEST_F(ServerDialogTest, CommandOpensTheDialogWithTheStoredServersWithoutPasswords) {
  storeServer("10.0.0.2", "web 2");
  storeServer("10.0.0.1", "it's web 1");
  openWindow();
  qevInstallModuleCommands(*window);
  int shown = 0;
  qevSetServerDialogRunnerForTesting([&](CSetServerIP& dialog) {
    ++shown;
    EXPECT_EQ(dialog.windowTitle().toStdString(), "服务器管理");
    QTableWidget& list = dialog.serverList();
    const std::vector<std::pair<std::string, int>> columns = {
        {"序号", 40}, {"IP", 100}, {"端口", 80}, {"用户名", 100}, {"备注", 300}};
    ASSERT_EQ(list.columnCount(), 5);
    for (int column = 0; column < 5; ++column) {
      EXPECT_EQ(list.horizontalHeaderItem(column)->text().toStdString(), columns[column].first);
      EXPECT_EQ(list.columnWidth(column), columns[column].second);
    }
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(rowTexts(list, 0), (std::vector<std::string>{"1", "10.0.0.1", "8010", "admin", "it's web 1"}));
    EXPECT_EQ(rowTexts(list, 1), (std::vector<std::string>{"2", "10.0.0.2", "8010", "admin", "web 2"}));
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(dialog.field(kPassword).echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.field(kRepeated).echoMode(), QLineEdit::Password);
    auto* modify = dialog.findChild<QPushButton*>("1043");
    ASSERT_NE(modify, nullptr);
    EXPECT_FALSE(modify->isVisibleTo(&dialog));
    EXPECT_FALSE(modify->isEnabled());
  });
  EXPECT_TRUE(window->dispatchCommand(command_id::kServerManagement));
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(ServerDialogTest, RowClickFillsTheFieldsButKeepsThePasswords) {
  storeServer("10.0.0.1", "web 1");
  CSetServerIP dialog(prompter);
  type(dialog, kPassword, "typed");
  type(dialog, kRepeated, "typed too");
  dialog.onRowClicked(-1);
  EXPECT_EQ(dialog.field(kIp).text().toStdString(), "");
  dialog.onRowClicked(0);
  EXPECT_EQ(dialog.field(kIp).text().toStdString(), "10.0.0.1");
  EXPECT_EQ(dialog.field(kPort).text().toStdString(), "8010");
  EXPECT_EQ(dialog.field(kUser).text().toStdString(), "admin");
  EXPECT_EQ(dialog.field(kRemark).text().toStdString(), "web 1");
  EXPECT_EQ(dialog.field(kPassword).text().toStdString(), "typed");
  EXPECT_EQ(dialog.field(kRepeated).text().toStdString(), "typed too");
}

TEST_F(ServerDialogTest, ButtonsAddDeleteReloadAndDeleteAll) {
  storeServer("10.0.0.1", "web 1");
  CSetServerIP dialog(prompter);

  type(dialog, kIp, " 10.0.0.3 ");
  type(dialog, kPort, "8010");
  type(dialog, kUser, "o'brien");
  type(dialog, kPassword, "pw");
  type(dialog, kRepeated, "pw");
  type(dialog, kRemark, "it's new");
  dialog.findChild<QPushButton*>("1007")->click();
  ASSERT_EQ(dialog.serverList().rowCount(), 2);
  EXPECT_EQ(rowTexts(dialog.serverList(), 1),
            (std::vector<std::string>{"2", "10.0.0.3", "8010", "o'brien", "it's new"}));
  EXPECT_EQ(prompter.shown().back().text, "增加IP成功！");

  // Another program adds a row: the list shows it after "刷新服务器".
  storeServer("10.0.0.2", "web 2");
  dialog.findChild<QPushButton*>("1005")->click();
  ASSERT_EQ(dialog.serverList().rowCount(), 3);

  // Delete goes by the ip field, not by the selected row.
  dialog.onRowClicked(0);
  type(dialog, kIp, "10.0.0.2");
  prompter.answerNext(PromptAnswer::Yes);
  dialog.findChild<QPushButton*>("1006")->click();
  EXPECT_EQ(prompter.shown().back().text, "删除成功！");
  ASSERT_EQ(dialog.serverList().rowCount(), 2);
  EXPECT_EQ(dialog.servers()[0].ip, "10.0.0.1");
  EXPECT_EQ(dialog.servers()[1].ip, "10.0.0.3");

  prompter.answerNext(PromptAnswer::Yes);
  dialog.findChild<QPushButton*>("1038")->click();
  EXPECT_EQ(prompter.shown().back().text, "删除完成！");
  EXPECT_EQ(dialog.serverList().rowCount(), 0);
}

TEST_F(ServerDialogTest, UnreadableStoreShowsAnEmptyListWithoutAMessage) {
  storeServer("10.0.0.1", "web 1");
  std::filesystem::remove(programDir.store());
  CSetServerIP dialog(prompter);
  EXPECT_EQ(dialog.serverList().rowCount(), 0);
  EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
