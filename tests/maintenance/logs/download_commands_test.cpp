// The download commands' questions and messages, and the rule of one worker: a start is refused
// while a worker runs or, stopped, is still ending; the clear-and-download command empties
// downloadinfo, fmlog and the downloaded files only.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/files/paths.h"
#include "common/store/datastore.h"
#include "maintenance/logs/download_commands.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_records.h"
#include "maintenance/logs/download_state.h"
#include "support/files.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace {

const std::string kBusy =
    "当前正在从远程服务器下载日志文件；\r\n\r\n若要重新下载日志文件，请先停止下载，再尝试此操作！点“显示下载状态”"
    "可以查看下载状态。";

int count(const std::string& table) {
  std::string value;
  EXPECT_EQ(qevReadFirstValue("select count(*) as n from " + table, "n", value), 1);
  return std::stoi(value);
}

class DownloadCommandsTest : public ::testing::Test {
 protected:
  std::string lastText() const { return prompter_.shown().empty() ? "" : prompter_.shown().back().text; }

  TemporaryProgramDir programDir_;
  ScriptedPrompter prompter_;
  DownloadState state_;
  int starts_ = 0;
  std::function<void()> start_ = [this] { ++starts_; };
};

TEST_F(DownloadCommandsTest, OneWorkerAtATimeAlsoWhileAStoppedWorkerIsEnding) {
  EXPECT_EQ(qevRunDownloadCommand(prompter_, state_, start_), DownloadStart::NotConfirmed);
  EXPECT_EQ(lastText(), "从远程服务器下载日志文件吗？");
  EXPECT_FALSE(state_.busy());

  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevRunDownloadCommand(prompter_, state_, start_), DownloadStart::Started);
  EXPECT_TRUE(state_.running());
  // A second start, of either kind, while the worker runs.
  EXPECT_EQ(qevRunDownloadCommand(prompter_, state_, start_), DownloadStart::Busy);
  EXPECT_EQ(lastText(), kBusy);
  EXPECT_EQ(qevRunDownloadAgainCommand(prompter_, state_, start_), DownloadStart::Busy);

  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevRunStopDownloadCommand(prompter_, state_), DownloadStop::Stopped);
  EXPECT_EQ(prompter_.shown()[prompter_.shown().size() - 2].text, "确定停止从远程服务器下载日志文件吗？");
  EXPECT_EQ(lastText(), "停止成功！");
  // Stopped, but the worker is still inside its exchange: no second worker yet.
  EXPECT_EQ(qevRunStopDownloadCommand(prompter_, state_), DownloadStop::AlreadyStopped);
  EXPECT_EQ(lastText(), "已经是停止状态！");
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevRunDownloadCommand(prompter_, state_, start_), DownloadStart::Busy);
  EXPECT_EQ(starts_, 1);

  state_.release();  // the worker has ended
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevRunDownloadCommand(prompter_, state_, start_), DownloadStart::Started);
  EXPECT_EQ(starts_, 2);
}

TEST_F(DownloadCommandsTest, AStopThatIsNotConfirmedLeavesTheWorkerRunning) {
  ASSERT_TRUE(state_.claim());
  EXPECT_EQ(qevRunStopDownloadCommand(prompter_, state_), DownloadStop::NotConfirmed);
  EXPECT_TRUE(state_.running());
}

TEST_F(DownloadCommandsTest, DownloadAgainClearsTheRecordsAndTheDownloadedLogsOnly) {
  const std::string directory = qevDownloadDirectory();
  ASSERT_EQ(qevCreateDirectoryChain(directory), 1);
  const std::string logLine(20, 'x');
  for (const char* name : {"_10.0.0.1_a_FMLog_2026.txt", "_10.0.0.1_b_fmlog_2027.TXT", "notes.txt",
                                  "_10.0.0.1_c_FMLog_1999.txt"}) {
    writeFile(directory + "/" + std::string(name), logLine);
  }
  ASSERT_EQ(qevRecordLogFetched("10.0.0.1", "a_FMLog_2026.txt", 20), 1);
  ASSERT_EQ(qevExecuteSql("insert into fmlog (fid, serip) values ('x', '10.0.0.1')"), 1);

  EXPECT_EQ(qevRunDownloadAgainCommand(prompter_, state_, start_), DownloadStart::NotConfirmed);
  EXPECT_EQ(lastText(), "确定清空已经下载的日志文件，然后重新从远程服务器下载日志文件吗？");
  EXPECT_EQ(count("downloadinfo"), 1);

  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevRunDownloadAgainCommand(prompter_, state_, start_), DownloadStart::Started);
  EXPECT_EQ(count("downloadinfo"), 0);
  EXPECT_EQ(count("fmlog"), 0);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"_10.0.0.1_c_FMLog_1999.txt", "notes.txt"}));
}

TEST_F(DownloadCommandsTest, TheWorkerFreesItsSlotWhenItsRunEnds) {
  ASSERT_TRUE(state_.claim());
  DownloadHooks hooks;
  std::vector<std::string> shown;
  hooks.show = [&shown](const std::string& text, MessageIcon) { shown.push_back(text); };
  qevRunDownloadWorker(state_, hooks);  // no servers: the run ends at once
  EXPECT_FALSE(state_.busy());
  EXPECT_EQ(shown, std::vector<std::string>{"未找到服务器记录，请先导入服务器设置！"});
}

}  // namespace
