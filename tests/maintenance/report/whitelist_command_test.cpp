// The whitelist command: the checked rows' paths go in front of config/FMExDir.txt as they
// are, and a file that cannot be written is told instead of a success.
#include "maintenance/report/whitelist_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

class WhitelistCommandTest : public ::testing::Test {
 protected:
  bool add(const std::vector<ViewRow>& rows) {
    const auto confirm = [this](const std::vector<std::string>& paths) {
      confirmed.push_back(paths);
      return confirmAnswer;
    };
    return qevAddToWhitelist(prompter, rows, confirm, [this] { ++reloads; });
  }

  std::string whitelist() const { return readFile(programDir.path() + "config/FMExDir.txt"); }

  TemporaryProgramDir programDir;
  ScriptedPrompter prompter;
  bool confirmAnswer = true;
  std::vector<std::vector<std::string>> confirmed;
  int reloads = 0;
};

TEST_F(WhitelistCommandTest, CheckedPathsGoInFrontAsTheyAreTheNewestFirst) {
  writeFile(programDir.path() + "config/FMExDir.txt", "/srv/old/*\r\n");
  const std::vector<ViewRow> rows = {{true, "/srv/www/Upload/a.PHP", "", "1"},
                                     {false, "/srv/www/unchecked.php", "", "2"},
                                     {true, "/srv/www/b.php", "", "3"},
                                     {true, "/srv/www/two\r\nlines.php", "", "4"},
                                     {true, "", "", "5"}};
  ASSERT_TRUE(add(rows));
  EXPECT_EQ(confirmed, (std::vector<std::vector<std::string>>{{"/srv/www/Upload/a.PHP", "/srv/www/b.php"}}));
  EXPECT_EQ(whitelist(), "/srv/www/Upload/a.PHP\r\n/srv/www/b.php\r\n/srv/old/*\r\n");
  EXPECT_EQ(reloads, 1);
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, kWhitelistAddedMessage);
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Information);

  // The same entry again is added again, in front.
  ASSERT_TRUE(add({{true, "/srv/www/b.php", "", "3"}}));
  EXPECT_EQ(whitelist(), "/srv/www/b.php\r\n/srv/www/Upload/a.PHP\r\n/srv/www/b.php\r\n/srv/old/*\r\n");
}

TEST_F(WhitelistCommandTest, NothingCheckedOrACancelLeavesTheFileAsItWas) {
  EXPECT_FALSE(add({{false, "/srv/www/a.php", "", "1"}}));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, kWhitelistNothingChosenMessage);
  EXPECT_EQ(prompter.shown()[0].icon, MessageIcon::Question);
  EXPECT_TRUE(confirmed.empty());

  confirmAnswer = false;
  prompter.clear();
  EXPECT_FALSE(add({{true, "/srv/www/a.php", "", "1"}}));
  EXPECT_TRUE(prompter.shown().empty());
  EXPECT_FALSE(fs::exists(programDir.path() + "config/FMExDir.txt"));
  EXPECT_EQ(reloads, 0);
}

TEST_F(WhitelistCommandTest, AWhitelistThatCannotBeWrittenIsToldNotReportedAsAdded) {
  const std::string file = programDir.path() + "config/FMExDir.txt";
  fs::create_directory(file);
  EXPECT_FALSE(add({{true, "/srv/www/a.php", "", "1"}}));
  ASSERT_EQ(prompter.shown().size(), 1u);
  EXPECT_EQ(prompter.shown()[0].text, "保存文件“" + file + "”失败，请重试！");
  EXPECT_EQ(reloads, 0);
}

}  // namespace
