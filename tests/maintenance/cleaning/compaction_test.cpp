// Compaction with real companion programs in a temporary program directory: every refusal
// before the web server is stopped, the stop itself, the request, and the whole path down to the
// cleaning worker moving every recorded entry.
#include "maintenance/cleaning/compaction.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "common/files/settings.h"
#include "common/store/datastore.h"
#include "common/text/stored_name.h"
#include "common/text/text_codec.h"
#include "maintenance/cleaning/clean_request.h"
#include "maintenance/cleaning/cleaning_pass.h"
#include "maintenance/cleaning/cleaning_state.h"
#include "maintenance/cleaning/cleaning_worker.h"
#include "support/companions.h"
#include "support/files.h"
#include "support/lock_holder.h"
#include "support/mount_namespace.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace fs = std::filesystem;

namespace {

const std::string kServiceLine = "\r\n\r\n\r\n如果多次尝试后，仍然无法启动，请联系我们的客服人员，我们将热诚为您服务。";
const std::string kQuestion =
    "确定压缩搜索出来的全部数据库文件吗？\r\n\r\n特别说明：压缩前，会自动备份数据库文件到“D:\\qev_dot_file_backup”目录。"
    "压缩时会临时停止 IIS，压缩完成后会自动启动 IIS。";

void addRow(const std::string& id, const std::string& path, int kind) {
  std::u16string wide;
  ASSERT_EQ(qevAnsiToWide(path, wide), 1);
  ASSERT_EQ(qevExecuteSql("insert into fileinfo (fid, regdate, filenameid, filename, filepath, filesize, "
                          "filesize2, CompactDatabase, filechkval, fileinfo, filetype) values ('1', '2012-05-01', '" +
                          id + "', 'bmFtZQ==', '" + qevEncodeStoredName(wide) + "', 7, 7, '0', '', '未处理', " +
                          std::to_string(kind) + ")"),
            1);
}

int rowsWhere(const std::string& condition) {
  std::string count;
  qevReadFirstValue("select count(*) as n from fileinfo where " + condition, "n", count);
  return count.empty() ? -1 : std::stoi(count);
}

std::vector<std::string> texts(const ScriptedPrompter& prompter) {
  std::vector<std::string> shown;
  for (const auto& message : prompter.shown()) shown.push_back(message.text);
  return shown;
}

class CompactionTest : public ::testing::Test {
 protected:
  CompactionTest() {
    qevCleaningActive().set(0);
    writeHelpPage(dir());
    writeCompanion(dir(), "qevxconfig");
    writeCompanion(dir(), "qeviisreset");
    addRow("a", "/nowhere/con", 1);
    addRow("b", "/nowhere/aux", 1);
  }
  ~CompactionTest() override { qevCleaningActive().set(0); }

  const std::string& dir() const { return program_.path(); }

  CompactionStart begin(int listRows = 2) {
    return qevBeginCompaction(prompter_, listRows, [this](const std::string& url) { helpUrls_.push_back(url); });
  }

  TemporaryProgramDir program_;
  ScriptedPrompter prompter_;
  std::vector<std::string> helpUrls_;
};

TEST_F(CompactionTest, RefusalsChangeNothingAndStartNoCompanion) {
  const std::string page = dir() + "config/HelpMon.dat";
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int listRows;
    bool answerYes;
    std::vector<std::string> shown;
    bool helpShown;
  };
  const Case cases[] = {
      {"an empty record list", [] {}, 0, true, {"请点“扫描数据库文件”，先搜索网站里的数据库文件！"}, false},
      {"a missing help page", [&] { fs::remove(page); }, 2, true, {"读取配置文件 " + page + " 失败，请重试！"}, false},
      {"a changed help page", [&] { writeFile(page, "<p>changed</p>"); }, 2, true,
       {"文件 " + page + " 校验值不一致，请重试！"}, false},
      {"a missing help check file", [&] { fs::remove(dir() + "config/HelpMon.Dat.in"); }, 2, true,
       {"文件 " + page + " 校验值不一致，请重试！"}, false},
      {"No to the question", [] {}, 2, false, {kQuestion}, true},
      {"a missing qevxconfig, although this command does not run it", [&] { fs::remove(dir() + "qevxconfig"); }, 2,
       true, {kQuestion, "文件“" + dir() + "qevxconfig”未找到，或无法访问，请重试！" + kServiceLine}, true},
      {"a changed qevxconfig", [&] { writeFile(dir() + "qevxconfig", "#!/bin/sh\n"); }, 2, true,
       {kQuestion, "文件“qevxconfig.exe”校验值错误，或无法访问，请重试！" + kServiceLine}, true},
      {"a missing qeviisreset", [&] { fs::remove(dir() + "qeviisreset"); }, 2, true,
       {kQuestion, "文件“" + dir() + "qeviisreset”未找到，或无法访问，请重试！" + kServiceLine}, true},
      {"a qeviisreset without its check value", [&] { fs::remove(dir() + "config/qeviisreset.in"); }, 2, true,
       {kQuestion, "文件“qeviisreset.exe”校验值错误，或无法访问，请重试！" + kServiceLine}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeHelpPage(dir());
    writeCompanion(dir(), "qevxconfig");
    writeCompanion(dir(), "qeviisreset");
    c.arrange();
    prompter_.clear();
    helpUrls_.clear();
    if (c.answerYes) prompter_.answerNext(PromptAnswer::Yes);

    const CompactionStart start = begin(c.listRows);
    EXPECT_FALSE(start.confirmed);
    EXPECT_FALSE(qevStopWebServer(start, [] { return false; }));
    EXPECT_EQ(texts(prompter_), c.shown);
    EXPECT_EQ(helpUrls_.size(), c.helpShown ? 1u : 0u);
    EXPECT_EQ(rowsWhere("CompactDatabase = '0'"), 2);
    EXPECT_EQ(qevReadSetting("CompactDatabase"), "");
    EXPECT_EQ(qevCleaningActive().get(), 0);
    EXPECT_EQ(companionArguments(dir(), "qeviisreset"), "");
  }
}

TEST_F(CompactionTest, HelpPageMessagesUseTheStopIconAndTheQuestionIsYesNo) {
  prompter_.answerNext(PromptAnswer::No);
  begin();
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::YesNo);
  writeFile(dir() + "config/HelpMon.dat", "<p>changed</p>");
  prompter_.clear();
  begin();
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_EQ(prompter_.shown()[0].icon, MessageIcon::Stop);
}

TEST_F(CompactionTest, HelpUrlNamesThePageWithASessionNumber) {
  std::string url;
  ASSERT_EQ(qevCheckHelpPage(prompter_, url), 1);
  const std::string prefix = "file://" + dir() + "config/HelpMon.dat?SessionId=";
  ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;
  const std::string session = url.substr(prefix.size());
  EXPECT_GE(session.size(), 6u);  // six numbers, one digit at least each
  EXPECT_EQ(session.find_first_not_of("0123456789"), std::string::npos) << url;
  // The stored value may be written in capitals and with blanks around it.
  std::string value = readFile(dir() + "config/HelpMon.Dat.in");
  for (char& c : value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  writeFile(dir() + "config/HelpMon.Dat.in", value.replace(value.find('=') + 1, 0, "  "));
  EXPECT_EQ(qevCheckHelpPage(prompter_, url), 1);
}

TEST_F(CompactionTest, ConfirmedCompactionStopsTheWebServerThenMarksEveryRowAndRaisesTheRequest) {
  prompter_.answerNext(PromptAnswer::Yes);
  const CompactionStart start = begin();
  ASSERT_TRUE(start.confirmed);
  EXPECT_EQ(rowsWhere("CompactDatabase = '0'"), 2);  // nothing changes before the web server stopped

  EXPECT_TRUE(qevStopWebServer(start, [] { return false; }));
  EXPECT_EQ(companionArguments(dir(), "qeviisreset"), "/stop\n");
  EXPECT_EQ(companionArguments(dir(), "qevxconfig"), "");

  qevRaiseCompactionRequest(prompter_);
  EXPECT_EQ(rowsWhere("CompactDatabase = '2' and filesize2 = 0"), 2);
  EXPECT_EQ(qevReadSetting("CompactDatabase"), "1");
  EXPECT_EQ(qevCleaningActive().get(), 1);
  EXPECT_EQ(texts(prompter_), std::vector<std::string>({kQuestion, "已经开始压缩数据库文件，请稍候……"}));
  EXPECT_EQ(prompter_.shown().back().icon, MessageIcon::Information);
}

TEST_F(CompactionTest, MarkingThatMeetsABusyStoreIsReportedAndRaisesNoRequest) {
  {
    // A scan between two batches, or the other front end, holds the write lock.
    const StoreWriteLock busy(dir() + "config/FileInfo.dat", 200);
    qevRaiseCompactionRequest(prompter_);
  }
  EXPECT_EQ(rowsWhere("CompactDatabase = '0'"), 2);
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 0);
  EXPECT_EQ(qevCleaningActive().get(), 0);
  EXPECT_EQ(texts(prompter_), std::vector<std::string>{kMarkingFailedMessage});
  EXPECT_EQ(prompter_.shown().back().icon, MessageIcon::Question);
}

TEST_F(CompactionTest, AWaitThatIsGivenUpEndsAtOnceAndLeavesTheRowsAlone) {
  writeCompanion(dir(), "qeviisreset", waitForReleaseBody(dir()));
  prompter_.answerNext(PromptAnswer::Yes);
  const CompactionStart start = begin();
  ASSERT_TRUE(start.confirmed);
  const auto began = std::chrono::steady_clock::now();
  bool running = false;
  EXPECT_FALSE(qevStopWebServer(start, [&] {
    running = running || !companionArguments(dir(), "qeviisreset").empty();
    return running;
  }));
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(30));
  writeFile(dir() + "release", "");
  EXPECT_EQ(rowsWhere("CompactDatabase = '0'"), 2);
}

TEST_F(CompactionTest, AStopToolThatCannotStartStillLetsTheCompactionGoOn) {
  CompactionStart start{true, {dir() + "missing-tool", "/stop"}};
  EXPECT_TRUE(qevStopWebServer(start, [] { return false; }));
}

// The recorded entries on a volume of their own, compaction confirmed, and the cleaning worker
// serving the request as the window's worker does.
TEST_F(CompactionTest, WholePathMovesEveryRecordedEntryIntoTheBackupTree) {
  RUN_IN_PRIVATE_MOUNT_NAMESPACE();
  TemporaryDir work;
  const std::string volume = work.path() + "/vol";
  fs::create_directories(volume);
  ASSERT_TRUE(MountTmpfs(volume));
  qevExecuteSql("delete from fileinfo");
  const std::vector<std::string> entries = {"/web/a/con.mdb", "/web/b/aux", "/web/nul.", "/web/prn"};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    fs::create_directories(fs::path(volume + entries[i]).parent_path());
    if (entries[i] == "/web/prn") {
      fs::create_directories(volume + entries[i]);
      writeFile(volume + entries[i] + "/index.asp", "inside");
    } else {
      writeFile(volume + entries[i], "entry " + std::to_string(i));
    }
    addRow("r" + std::to_string(i), volume + entries[i], entries[i] == "/web/prn" ? 2 : 1);
  }

  std::mutex lock;
  std::vector<std::string> passMessages;
  CleaningPassHooks hooks;
  hooks.setProgressRange = [](int) {};
  hooks.setProgressPosition = [](int) {};
  hooks.isActive = [] { return qevCleaningActive().get() == 1; };
  hooks.show = [&](const std::string& text, MessageIcon) {
    std::lock_guard guard(lock);
    passMessages.push_back(text);
  };
  hooks.reloadRecords = [] {};
  std::jthread worker([&hooks](std::stop_token stop) { qevServeCleaningRequests(WorkerLoop(stop), hooks); });
  // The worker first drops a request left from an earlier run.
  while (qevReadSetting("CompactDatabase") != "0") std::this_thread::sleep_for(std::chrono::milliseconds(10));

  prompter_.answerNext(PromptAnswer::Yes);
  const CompactionStart start = begin(static_cast<int>(entries.size()));
  ASSERT_TRUE(start.confirmed);
  ASSERT_TRUE(qevStopWebServer(start, [] { return false; }));
  qevRaiseCompactionRequest(prompter_);

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (rowsWhere("CompactDatabase = '1'") < static_cast<int>(entries.size()) &&
         std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  worker.request_stop();
  worker.join();

  EXPECT_EQ(rowsWhere("CompactDatabase = '1' and fileinfo = '" + std::string(kMovedText) + "'"),
            static_cast<int>(entries.size()));
  const fs::path backupRoot = volume + "/qev_dot_file_backup";
  ASSERT_TRUE(fs::is_directory(backupRoot));
  const fs::path dated = *fs::directory_iterator(backupRoot);
  const fs::path timed = *fs::directory_iterator(dated);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(entries[i]);
    EXPECT_FALSE(fs::exists(fs::symlink_status(volume + entries[i])));
    EXPECT_TRUE(fs::exists(timed.string() + entries[i]));
  }
  EXPECT_EQ(readFile(timed.string() + "/web/prn/index.asp"), "inside");
  {
    std::lock_guard guard(lock);
    EXPECT_EQ(passMessages, std::vector<std::string>({"清理文件完成。成功清理 4 个；未清理 0 个。\r\n\r\n\r\n当前已清理的文件，"
                                                      "已经备份到“" + timed.string() + "” 目录中"}));
  }
  // The new backup directory was handed to the access-rights companion.
  ASSERT_TRUE(waitForCompanionRun(dir(), "qevxconfig"));
  EXPECT_EQ(companionArguments(dir(), "qevxconfig"),
            timed.string() + "\n/T\n/C\n/G\nadministrators:F\n/Y\n");
}

}  // namespace
