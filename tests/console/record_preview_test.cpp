// The preview of a clicked row and the context menu's "打开文件所在目录".
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>

#include "console/command_ids.h"
#include "console/main_window_fixture.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

std::string gap() { return "\r\n\r\n\r\n"; }

std::string unreadable(const std::string& path) {
  return gap() + "读取文件“" + path + "”失败，可能文件已被改名，文件不存在、或无法读取此文件，请重试！" + gap() +
         "下一步，请点“校验日志文件”复查此文件是否存在。";
}

std::string filePreview(const std::string& path, const std::string& bytes) {
  return "\r\n文件名：“" + path + "”\r\n\r\n" + std::string(153, '-') + "\r\n\r\n" + bytes;
}

class RecordPreviewTest : public MainWindowTest {
 protected:
  std::string site() const { return sitePath.path(); }
  void click(const std::string& recordId) {
    const int row = rowOf(recordId);
    ASSERT_GE(row, 0) << recordId;
    window->onRecordRowClicked(row);
  }
  TemporaryDir sitePath;
};

TEST_F(RecordPreviewTest, PreviewOfEachKindOfRow) {
  const std::string text = site() + "/con.txt";
  const std::string empty = site() + "/aux.txt";
  const std::string missing = site() + "/nul.txt";
  const std::string folder = site() + "/prn";
  writeFile(text, std::string("line one\r\n\ttab\x01\x1f\x7f end\n中文\x00!", 30));
  writeFile(empty, "");
  fs::create_directory(folder);
  insertRow(entryRow("text", text, 1, 30));
  insertRow(entryRow("empty", empty, 1, 0));
  insertRow(entryRow("missing", missing, 1, 3));
  insertRow(entryRow("folder", folder, 2));
  insertRow(StoredRow{"badpath", storedText("x"), "（读取文件名时发生错误！）", "1", "1"});
  openWindow();
  // A row whose record is gone from the store by the time it is clicked.
  insertRow(entryRow("gone", site() + "/lpt1", 1, 1));
  window->dispatchCommand(command_id::kRefresh);
  ASSERT_EQ(qevExecuteSql("delete from fileinfo where filenameid = 'gone'"), 1);

  struct Case {
    const char* id;
    std::string preview;
  };
  const Case cases[] = {
      // Control bytes but tab, CR and LF become blanks; bytes from 0x7f up stay.
      {"text", filePreview(text, std::string("line one\r\n\ttab  \x7f end\n中文 !"))},
      {"empty", ""},
      {"missing", unreadable(missing)},
      {"folder", gap() + "当前选择的目录名是“" + folder + "”"},
      {"badpath", gap() + "读取文件“（文件名有错误）”的完整文件名时发生错误，请重试！"},
      {"gone", gap() + "读取文件记录失败，请重试！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    click(c.id);
    EXPECT_EQ(window->previewText(), c.preview);
  }
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(RecordPreviewTest, FirstClickReplacesTheHelpPaneForGood) {
  insertRow(entryRow("folder", site(), 2));
  openWindow();
  window->show();
  EXPECT_EQ(window->helpPaneFlag(), 1);
  EXPECT_TRUE(window->control(command_id::kHelpPane)->isVisible());
  EXPECT_FALSE(window->control(command_id::kPreviewPane)->isVisible());

  window->onRecordRowClicked(-1);  // no row hit: nothing changes
  EXPECT_EQ(window->helpPaneFlag(), 1);

  click("folder");
  click("folder");
  EXPECT_EQ(window->helpPaneFlag(), 0);
  EXPECT_FALSE(window->control(command_id::kHelpPane)->isVisible());
  EXPECT_TRUE(window->control(command_id::kPreviewPane)->isVisible());
  const auto* pane = static_cast<QPlainTextEdit*>(window->control(command_id::kPreviewPane));
  EXPECT_EQ(pane->toPlainText().toStdString(), "\n\n\n当前选择的目录名是“" + site() + "”");
}

TEST_F(RecordPreviewTest, OpenFolderUsesTheLastResolvedRow) {
  const std::string first = site() + "/con.";
  insertRow(entryRow("first", first, 1, 1));
  insertRow(entryRow("unresolved", site() + "/aux.", 1, 1));
  openWindow();
  ASSERT_EQ(qevExecuteSql("delete from fileinfo where filenameid = 'unresolved'"), 1);

  // Nothing right-clicked yet.
  window->dispatchCommand(command_id::kOpenContainingFolder);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "请先选择文件！");
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
  EXPECT_TRUE(shownFolders.empty());

  window->onRecordContextMenu(rowOf("first"), QPoint(10, 10));
  window->onRecordContextMenu(rowOf("unresolved"), QPoint(10, 10));
  window->dispatchCommand(command_id::kOpenContainingFolder);
  std::u16string firstWide;
  qevAnsiToWide(first, firstWide);
  ASSERT_EQ(shownFolders.size(), 1u);
  EXPECT_EQ(shownFolders[0], firstWide);

  showInFolderWorks = false;
  window->dispatchCommand(command_id::kOpenContainingFolder);
  ASSERT_EQ(prompter.shown().size(), 2u);
  EXPECT_EQ(prompter.shown()[1].text, "打开文件所在目录失败，请重试！");
  EXPECT_EQ(prompter.shown()[1].icon, MessageIcon::Question);
}

}  // namespace
