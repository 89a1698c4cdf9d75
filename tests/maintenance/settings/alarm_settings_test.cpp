// The alarm settings: the interval and addresses the dialog opens with, every refusal of a
// save, what a save writes, and the alarm switch.
#include "maintenance/settings/alarm_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/files/settings.h"
#include "support/files.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

const std::string kIntervalMessage = "填写的监控时间间隔有错误，填写范围是 5 - 1800 之间的数字，请重试！";
const std::string kNoUrlMessage =
    "请填写主控网站网址，请重试！\r\n\r\n\r\n"
    "特别说明，主控网站需要自行建立WEB网站，主控网站的ASP程序代码，需要单独从我们的网站下载并安装。";

class AlarmSettingsTest : public ::testing::Test {
 protected:
  std::string urlFile() const { return program_.path() + "config/FMReportUrl.dat"; }

  TemporaryProgramDir program_;
  ScriptedPrompter prompter_;
};

TEST_F(AlarmSettingsTest, OpensWithTheStoredIntervalOrTenAndTheAddressesNormalised) {
  struct Case {
    const char* stored;  // nullptr: no key
    const char* shown;
  };
  const Case cases[] = {
      {nullptr, "10"}, {"3", "10"}, {"5", "5"}, {"1800", "1800"}, {"1801", "10"}, {"abc", "10"}, {"30", "30"},
  };
  writeFile(urlFile(), "http://Master.example/r.asp\r\n\r\nHTTP://master.example/R.ASP\r\n http://b.example \r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "missing");
    fs::remove(program_.path() + "Sorrelscan.ini");
    if (c.stored != nullptr) qevWriteSetting("ReportTime", c.stored);
    const AlarmSettings settings = qevLoadAlarmSettings(prompter_);
    EXPECT_EQ(settings.interval, c.shown);
    EXPECT_EQ(settings.urls, "http://Master.example/r.asp\r\nhttp://b.example\r\n");
  }
  EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(AlarmSettingsTest, OpensEmptyWithoutAnAddressFileAndLeavesConfigAlone) {
  fs::remove_all(program_.path() + "config");
  EXPECT_EQ(qevLoadAlarmSettings(prompter_).urls, "");
  EXPECT_FALSE(fs::exists(program_.path() + "config"));
}

TEST_F(AlarmSettingsTest, RefusalsShowTheirMessageFocusTheirEditAndWriteNothing) {
  struct Case {
    const char* name;
    AlarmSettings typed;
    std::string message;
    AlarmSettingsField focus;
  };
  const std::string url = "http://master.example/r.asp";
  const Case cases[] = {
      {"interval below 5", {url, "3"}, kIntervalMessage, AlarmSettingsField::Interval},
      {"interval of five digits", {url, "10000"}, kIntervalMessage, AlarmSettingsField::Interval},
      {"interval above 1800", {url, "1801"}, kIntervalMessage, AlarmSettingsField::Interval},
      {"no interval", {url, "  "}, kIntervalMessage, AlarmSettingsField::Interval},
      {"interval that is no number", {url, "12ab"}, kIntervalMessage, AlarmSettingsField::Interval},
      {"no address", {" \r\n ", "10"}, kNoUrlMessage, AlarmSettingsField::Urls},
      {"addresses of 1 MiB", {std::string(0x100000, 'u'), "10"}, kNoUrlMessage, AlarmSettingsField::Urls},
      {"every address longer than 260 bytes", {"http://" + std::string(300, 'a'), "10"}, kNoUrlMessage,
       AlarmSettingsField::Urls},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(urlFile(), "earlier\r\n");
    qevWriteSetting("ReportTime", "20");
    prompter_.clear();
    AlarmSettings settings = c.typed;
    const AlarmSettingsSave outcome = qevSaveAlarmSettings(prompter_, settings);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.focus, c.focus);
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, c.message);
    EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(readFile(urlFile()), "earlier\r\n");
    EXPECT_EQ(qevReadSetting("ReportTime"), "20");
  }
}

TEST_F(AlarmSettingsTest, SavesAddressesOnceWhateverTheirCaseAndTheIntervalAsTyped) {
  struct Case {
    const char* name;
    AlarmSettings typed;
    AlarmSettings saved;
  };
  const Case cases[] = {
      {"duplicates in two cases", {"http://A.example/x\r\nHTTP://a.example/X\r\n", " 30 "}, {"http://A.example/x\r\n", "30"}},
      {"lowest interval, blank lines",
       {"\r\nhttp://a.example\r\n\r\nhttp://b.example", "5"},
       {"http://a.example\r\nhttp://b.example\r\n", "5"}},
      {"highest interval", {"http://a.example", "1800"}, {"http://a.example\r\n", "1800"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.clear();
    AlarmSettings settings = c.typed;
    ASSERT_TRUE(qevSaveAlarmSettings(prompter_, settings).saved);
    EXPECT_TRUE(prompter_.shown().empty());
    EXPECT_EQ(settings.urls, c.saved.urls);
    EXPECT_EQ(settings.interval, c.saved.interval);
    EXPECT_EQ(readFile(urlFile()), c.saved.urls);
    EXPECT_EQ(qevReadSetting("ReportTime"), c.saved.interval);
  }
}

TEST_F(AlarmSettingsTest, AnAddressFileThatCannotBeWrittenLeavesTheIntervalUnchanged) {
  fs::create_directories(urlFile());  // a directory where the file belongs
  qevWriteSetting("ReportTime", "20");
  AlarmSettings settings{"http://a.example", "30"};
  EXPECT_FALSE(qevSaveAlarmSettings(prompter_, settings).saved);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].text, "保存配置文件“" + urlFile() + "”失败，请重试！");
  EXPECT_EQ(qevReadSetting("ReportTime"), "20");
}

TEST_F(AlarmSettingsTest, ASettingsFileThatCannotBeWrittenIsReportedInsteadOfPassingForDone) {
  const std::string settingsFile = program_.path() + "Sorrelscan.ini";
  fs::create_directories(settingsFile);  // a directory where the file belongs
  const std::string failed = "保存配置文件“" + settingsFile + "”失败，请重试！";
  AlarmSettings settings{"http://a.example", "30"};
  EXPECT_FALSE(qevSaveAlarmSettings(prompter_, settings).saved);
  EXPECT_EQ(prompter_.shown().back().text, failed);

  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_FALSE(qevSwitchAlarm(prompter_, true));
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[1].text, failed);
}

TEST_F(AlarmSettingsTest, TheSwitchAsksThenWritesReportStatus) {
  struct Case {
    bool on;
    PromptAnswer answer;
    const char* stored;  // "" when nothing is written
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {true, PromptAnswer::No, "", {"确定开启文件监控报警功能吗？"}},
      {true, PromptAnswer::Yes, "1", {"确定开启文件监控报警功能吗？", "文件监控报警功能已经开启！"}},
      {false, PromptAnswer::No, "", {"确定关闭监控报警功能吗？"}},
      {false, PromptAnswer::Yes, "0", {"确定关闭监控报警功能吗？", "文件监控报警功能已经关闭！"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.on ? "on " : "off ") + c.stored);
    fs::remove(program_.path() + "Sorrelscan.ini");
    prompter_.clear();
    prompter_.answerNext(c.answer);
    EXPECT_EQ(qevSwitchAlarm(prompter_, c.on), c.answer == PromptAnswer::Yes);
    EXPECT_EQ(qevReadSetting("ReportStatus"), c.stored);
    std::vector<std::string> shown;
    for (const auto& message : prompter_.shown()) shown.push_back(message.text);
    EXPECT_EQ(shown, c.shown);
  }
}

}  // namespace
