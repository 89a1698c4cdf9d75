// Download runs against scripted log agents on their own loopback addresses: what lands in the
// download directory, downloadinfo and fmlog; a second run that fetches nothing new; a stop
// between files; and agents that try to write elsewhere or hand out bad streams.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/store/datastore.h"
#include "maintenance/logs/download_directory.h"
#include "maintenance/logs/download_run.h"
#include "support/files.h"
#include "support/log_servers.h"
#include "support/program_dir.h"
#include "support/tree_snapshot.h"

namespace {

constexpr AgentTimeouts kTestTimeouts{2'000, 1'500, 4'000};

int count(const std::string& query) {
  std::string value;
  EXPECT_EQ(qevReadFirstValue(query, "n", value), 1) << query;
  return value.empty() ? -1 : std::stoi(value);
}

std::vector<std::string> downloadRows() {
  std::vector<std::string> rows;
  qevQueryRows("select * from downloadinfo order by ip, filename", [&rows](const StoreRow& row) {
    std::string ip, name, size, status, adddb;
    row.text("ip", ip);
    row.text("filename", name);
    row.text("filesize", size);
    row.text("status", status);
    row.text("adddb", adddb);
    rows.push_back(ip + " " + name + " " + size + " " + status + " " + adddb);
    return true;
  });
  return rows;
}

class DownloadRunTest : public ::testing::Test {
 protected:
  DownloadSummary download(std::function<bool()> keepRunning = {}) {
    DownloadHooks hooks;
    hooks.keepRunning = std::move(keepRunning);
    hooks.show = [this](const std::string& text, MessageIcon) { shown_.push_back(text); };
    hooks.onEvent = [this](const DownloadEvent& event) { events_.push_back(qevDownloadEventText(event)); };
    hooks.timeouts = kTestTimeouts;
    return qevDownloadLogFiles(hooks);
  }

  std::string local(const std::string& ip, const std::string& name) const {
    return qevDownloadDirectory() + "/_" + ip + "_" + name;
  }

  TemporaryProgramDir programDir_;
  LogServers servers_;
  std::vector<std::string> shown_;
  std::vector<std::string> events_;
};

TEST_F(DownloadRunTest, FetchesEveryServersNewLogsRecordsThemAndImportsThem) {
  auto& first = servers_.add("127.0.0.1");
  auto& second = servers_.add("127.0.0.2");
  first.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(2, "a"));
  first.addLog("same_FMLog_20260102.txt", qevSampleMonitorLog(1, "first"));
  second.addLog("same_FMLog_20260102.txt", qevSampleMonitorLog(3, "second"));
  second.addLog("tiny.txt", "123456789");  // 9 bytes: never requested

  const DownloadSummary summary = download();
  EXPECT_EQ(summary.servers, 2);
  EXPECT_EQ(summary.filesFetched, 3);
  EXPECT_EQ(summary.filesFailed, 0);
  EXPECT_TRUE(shown_.empty());
  EXPECT_EQ(readFile(local("127.0.0.1", "a_FMLog_20260101.txt")), qevSampleMonitorLog(2, "a"));
  EXPECT_EQ(readFile(local("127.0.0.1", "same_FMLog_20260102.txt")), qevSampleMonitorLog(1, "first"));
  EXPECT_EQ(readFile(local("127.0.0.2", "same_FMLog_20260102.txt")), qevSampleMonitorLog(3, "second"));
  EXPECT_FALSE(std::filesystem::exists(local("127.0.0.2", "tiny.txt")));
  const std::vector<std::string> expectedRows = {
      "127.0.0.1 a_FMLog_20260101.txt " + std::to_string(qevSampleMonitorLog(2, "a").size()) + " 1 0",
      "127.0.0.1 same_FMLog_20260102.txt " + std::to_string(qevSampleMonitorLog(1, "first").size()) + " 1 0",
      "127.0.0.2 same_FMLog_20260102.txt " + std::to_string(qevSampleMonitorLog(3, "second").size()) + " 1 0",
  };
  EXPECT_EQ(downloadRows(), expectedRows);
  EXPECT_EQ(count("select count(*) as n from fmlog where serip = '127.0.0.2' and chkfileinfo = 'second' and fid = '" +
                  local("127.0.0.2", "same_FMLog_20260102.txt") + "'"),
            3);
  EXPECT_EQ(count("select count(*) as n from fmlog"), 6);
  EXPECT_EQ(events_.front(), "服务器 127.0.0.1：列出 2 个日志文件");
  EXPECT_NE(std::find(events_.begin(), events_.end(),
                      "已下载：127.0.0.1 a_FMLog_20260101.txt（" + std::to_string(qevSampleMonitorLog(2, "a").size()) +
                          " 字节），已导入数据库"),
            events_.end());

  // The next run asks for nothing it has, and takes what is new.
  first.addLog("b_FMLog_20260103.txt", qevSampleMonitorLog(1, "b"));
  const std::size_t fetchesBefore = first.fetches() + second.fetches();
  const DownloadSummary again = download();
  EXPECT_EQ(again.filesFetched, 1);
  EXPECT_EQ(again.filesAlreadyFetched, 3);
  EXPECT_EQ(first.fetches() + second.fetches(), fetchesBefore + 1);
  EXPECT_EQ(count("select count(*) as n from fmlog"), 7);
  EXPECT_EQ(downloadRows().size(), 4u);
}

TEST_F(DownloadRunTest, AServerThatCannotBeReachedIsSkippedAndTheNextOneServed) {
  auto& unreachable = servers_.add("127.0.0.1", {"--fault", "session:empty"});
  auto& reachable = servers_.add("127.0.0.2");
  unreachable.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  reachable.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  const DownloadSummary summary = download();
  EXPECT_EQ(summary.serversFailed, 1);
  EXPECT_EQ(summary.filesFetched, 1);
  EXPECT_EQ(events_.front(), "服务器 127.0.0.1：无法连接日志代理或会话被拒绝，跳过");
}

TEST_F(DownloadRunTest, AStopEndsTheRunBeforeTheNextFileAndServer) {
  auto& first = servers_.add("127.0.0.1");
  auto& second = servers_.add("127.0.0.2");
  first.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  first.addLog("b_FMLog_20260101.txt", qevSampleMonitorLog(1, "b"));
  second.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  // The stop comes once the first file is fetched: after the listing and that file.
  const DownloadSummary summary = download([this] { return events_.size() < 2; });
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(summary.filesFetched, 1);
  EXPECT_EQ(summary.servers, 1);
  EXPECT_EQ(first.fetches() + second.fetches(), 1u);
}

TEST_F(DownloadRunTest, TellsTheOperatorWhenThereIsNoServerList) {
  EXPECT_FALSE(download().servers);
  EXPECT_EQ(shown_, std::vector<std::string>{"未找到服务器记录，请先导入服务器设置！"});
  shown_.clear();
  std::filesystem::remove(programDir_.store());
  EXPECT_FALSE(download().serverListRead);
  EXPECT_EQ(shown_, std::vector<std::string>{"读取服务器IP列表失败，请先导入服务器IP！"});
}

TEST_F(DownloadRunTest, HostileAgentsChangeNothingOutsideTheDownloadDirectory) {
  // Names that would leave the directory, a name too long once the ip is added, a wrong CRC and
  // a stream that inflates far beyond its listed size; an apostrophe is just a character.
  auto& names = servers_.add("127.0.0.1", {"--fault", "list:bad-names"});
  names.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  names.addLog("o'brien_FMLog_20260101.txt", qevSampleMonitorLog(1, "o'brien"));
  names.addLog(std::string(245, 'n') + ".txt", qevSampleMonitorLog(1, "long"));
  auto& wrongCrc = servers_.add("127.0.0.2", {"--fault", "list:wrong-crc"});
  wrongCrc.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));
  auto& bomb = servers_.add("127.0.0.3", {"--fault", "fetch:bomb"});
  bomb.addLog("a_FMLog_20260101.txt", qevSampleMonitorLog(1, "a"));

  // Everything the test owns outside the download directory and the store, the served logs
  // included.
  const auto outside = [&] {
    TreeSnapshot tree = snapshotTree(programDir_.path());
    std::erase_if(tree, [](const auto& entry) {
      return entry.first.rfind("qev_log_file", 0) == 0 || entry.first.rfind("config/FileInfo.dat", 0) == 0;
    });
    for (const std::string& served : {names.logs.path(), wrongCrc.logs.path(), bomb.logs.path()}) {
      for (const auto& [path, what] : snapshotTree(served)) tree[served + path] = what;
    }
    return tree;
  };
  const TreeSnapshot before = outside();
  const DownloadSummary summary = download();
  EXPECT_EQ(outside(), before);

  EXPECT_EQ(summary.filesFetched, 2);
  EXPECT_EQ(summary.filesFailed, 3);  // the long name, the wrong CRC, the bomb
  TreeSnapshot stored = snapshotTree(qevDownloadDirectory());
  const TreeSnapshot expected = {
      {"/_127.0.0.1_a_FMLog_20260101.txt", "file:" + qevSampleMonitorLog(1, "a")},
      {"/_127.0.0.1_o'brien_FMLog_20260101.txt", "file:" + qevSampleMonitorLog(1, "o'brien")},
  };
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(downloadRows(), (std::vector<std::string>{
                                "127.0.0.1 a_FMLog_20260101.txt " + std::to_string(qevSampleMonitorLog(1, "a").size()) + " 1 0",
                                "127.0.0.1 o'brien_FMLog_20260101.txt " + std::to_string(qevSampleMonitorLog(1, "o'brien").size()) +
                                    " 1 0"}));
  EXPECT_EQ(count("select count(*) as n from fmlog where chkfileinfo = 'o''brien'"), 1);
}

}  // namespace
