// The monitor rules: what the dialog opens with, every refusal with its message and focus, and
// the three files a save writes.
#include "maintenance/settings/monitor_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

const std::string kDefaults = ".asp\r\n.php\r\n.aspx\r\n.ashx\r\n.asa\r\n.asax\r\n.cdx\r\n.cer\r\n";
const std::string kNoDirectory = "请填写需要监控的目录，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的监控目录名！";
const std::string kDirectoryLength =
    "请填写的监控目录长度有错误，例如 d:\\home\r\n\r\n\r\n请返回重新填写有效的监控目录名！";
const std::string kScriptLength =
    "请填写的监控脚本长度有错误，例如 .asp / .php / .aspx ...\r\n\r\n\r\n请返回重新填写有效的监控脚本名！";
const std::string kWhitelistLength = "请填写的“目录白名单”长度有错误\r\n\r\n\r\n请返回重新填写！";

std::string missing(const std::string& line) {
  return "填写的监控目录“" + line +
         "”不存在或无法访问，请确认硬盘里是否存在此目录？\r\n\r\n\r\n"
         "只能填写硬盘中实际存在的目录名，请返回重新填写有效的监控目录名！";
}

// Lines of 200 bytes, all different, until the text holds at least bytes.
std::string manyLines(std::size_t bytes, const std::string& prefix) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) text += prefix + std::to_string(i) + std::string(200, 'x') + "\r\n";
  return text;
}

class MonitorRulesTest : public ::testing::Test {
 protected:
  MonitorRulesTest() {
    fs::create_directories(sites_.path() + "/Www");
    fs::create_directories(sites_.path() + "/www");
    writeFile(sites_.path() + "/plain.txt", "x");
  }

  std::string config(const std::string& name) const { return program_.path() + "config/" + name; }
  const std::string& site() const { return sites_.path(); }

  TemporaryProgramDir program_;
  TemporaryDir sites_;
  ScriptedPrompter prompter_;
};

TEST_F(MonitorRulesTest, OpensWithBlankLinesClosedUpAndEmptyForMissingFiles) {
  writeFile(config("FMDir.txt"), "/a\r\n\r\n\r\n/b\r\n\r\n\r\n\r\n/c\r\n");
  writeFile(config("FMExDir.txt"), "\r\n");
  const MonitorRules rules = qevLoadMonitorRules();
  EXPECT_EQ(rules.directories, "/a\r\n/b\r\n/c\r\n");
  EXPECT_EQ(rules.scripts, "");
  EXPECT_EQ(rules.whitelist, "\r\n");
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(MonitorRulesTest, OpeningCreatesAMissingConfigDirectory) {
  fs::remove_all(program_.path() + "config");
  const MonitorRules rules = qevLoadMonitorRules();
  EXPECT_EQ(rules.directories, "");
  EXPECT_TRUE(fs::is_directory(program_.path() + "config"));
}

TEST_F(MonitorRulesTest, RefusalsShowTheirMessageFocusTheirListAndWriteNothing) {
  struct Case {
    const char* name;
    MonitorRules typed;
    std::string message;
    MonitorRulesField focus;
  };
  const std::string dir = site() + "/Www\r\n";
  const Case cases[] = {
      {"no directory", {"", ".php", ""}, kNoDirectory, MonitorRulesField::Directories},
      {"blank directory lines", {" \r\n\t\r\n", "", ""}, kNoDirectory, MonitorRulesField::Directories},
      {"every directory longer than 260 bytes", {"/" + std::string(300, 'd'), "", ""}, kNoDirectory,
       MonitorRulesField::Directories},
      {"directory list of 8192 bytes or more", {manyLines(8192, "/d"), "", ""}, kDirectoryLength,
       MonitorRulesField::Directories},
      {"a missing directory", {dir + site() + "/gone", "", ""}, missing(site() + "/gone"),
       MonitorRulesField::Directories},
      {"a file is no directory", {site() + "/plain.txt", "", ""}, missing(site() + "/plain.txt"),
       MonitorRulesField::Directories},
      {"a path that differs in case is another directory", {site() + "/WWW", "", ""}, missing(site() + "/WWW"),
       MonitorRulesField::Directories},
      {"script list of 8192 bytes or more", {dir, manyLines(8192, ".s"), ""}, kScriptLength,
       MonitorRulesField::Scripts},
      {"whitelist beyond 10 MiB", {dir, "", manyLines(0xa00001, "/w")}, kWhitelistLength,
       MonitorRulesField::Whitelist},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* file : {"FMDir.txt", "FMScript.txt", "FMExDir.txt"}) writeFile(config(file), "earlier\r\n");
    prompter_.clear();
    MonitorRules rules = c.typed;
    const MonitorRulesSave outcome = qevSaveMonitorRules(prompter_, rules);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focus, c.focus);
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, c.message);
    EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(rules.directories, c.typed.directories);
    for (const char* file : {"FMDir.txt", "FMScript.txt", "FMExDir.txt"}) EXPECT_EQ(readFile(config(file)), "earlier\r\n");
  }
}

TEST_F(MonitorRulesTest, SavesNormalisedListsKeepingTheCaseOfPaths) {
  struct Case {
    const char* name;
    MonitorRules typed;
    MonitorRules saved;
  };
  const std::string upper = site() + "/Www";
  const std::string lower = site() + "/www";
  const Case cases[] = {
      {"an empty script edit saves the defaults, an empty whitelist saves an empty line",
       {upper, "", ""},
       {upper + "\r\n", kDefaults, ""}},
      {".ASP typed once is saved once, lower-cased, before the other defaults",
       {upper, " .ASP \r\n.Jsp", ""},
       {upper + "\r\n", ".asp\r\n.jsp\r\n" + kDefaults.substr(6), ""}},
      {"directories that differ in case are two; exact duplicates and blank lines go",
       {" " + upper + "\r\n\r\n" + lower + "\r\n" + upper + "\t", "", ""},
       {upper + "\r\n" + lower + "\r\n", kDefaults, ""}},
      {"whitelist entries keep their case and compare exactly",
       {lower, "", "/srv/Web/*.TXT\r\n/srv/web/*.txt\r\n/srv/Web/*.TXT\r\n"},
       {lower + "\r\n", kDefaults, "/srv/Web/*.TXT\r\n/srv/web/*.txt\r\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.clear();
    MonitorRules rules = c.typed;
    const MonitorRulesSave outcome = qevSaveMonitorRules(prompter_, rules);
    ASSERT_TRUE(outcome.saved);
    EXPECT_TRUE(prompter_.shown().empty());
    EXPECT_EQ(rules.directories, c.saved.directories);
    EXPECT_EQ(rules.scripts, c.saved.scripts);
    EXPECT_EQ(rules.whitelist, c.saved.whitelist);
    EXPECT_EQ(readFile(config("FMDir.txt")), c.saved.directories);
    EXPECT_EQ(readFile(config("FMScript.txt")), c.saved.scripts);
    // The writer's rule for an empty text: the file holds one line end.
    EXPECT_EQ(readFile(config("FMExDir.txt")), c.saved.whitelist.empty() ? "\r\n" : c.saved.whitelist);
  }
}

TEST_F(MonitorRulesTest, AFileThatCannotBeWrittenIsReportedInsteadOfPassingForSaved) {
  fs::create_directories(config("FMScript.txt"));  // a directory where the file belongs
  MonitorRules rules{site() + "/Www", "", ""};
  const MonitorRulesSave outcome = qevSaveMonitorRules(prompter_, rules);
  EXPECT_FALSE(outcome.saved);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].text, "保存配置文件“" + config("FMScript.txt") + "”失败，请重试！");
  EXPECT_FALSE(fs::exists(config("FMExDir.txt")));
  EXPECT_EQ(rules.directories, site() + "/Www");
}

TEST_F(MonitorRulesTest, TheFinalQuestionIsYesOrNo) {
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_TRUE(qevConfirmMonitorStart(prompter_));
  EXPECT_FALSE(qevConfirmMonitorStart(prompter_));
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompter_.shown()[0].text,
            "确定开启文件主动防御监控吗？\r\n\r\n\r\n特别说明：此功能模块依赖木马特征库，请定期使用“在线升级”获取最新的特征库文件。");
}

}  // namespace
