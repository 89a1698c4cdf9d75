// The built sorrel end to end, on a volume of its own: scan a site with special names, list,
// clean, restore; a restore whose places are taken, one killed part-way, and questions asked
// with and without a terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "cli/json_text.h"
#include "cli/sorrel_fixture.h"
#include "common/files/settings.h"
#include "support/tree_snapshot.h"

namespace fs = std::filesystem;
using namespace sorrel_test;

namespace {

constexpr const char* kNotHandled = "0 未处理";

// Special entries, with content, and the ordinary ones beside them.
const TreeSnapshot kOrdinary = {
    {"/blog", "dir"},
    {"/blog/com10.txt", "file:not special"},
    {"/blog/post.html", "file:post"},
    {"/index.html", "file:home"},
};
const TreeSnapshot kSpecial = {
    {"/Com1", "file:com one"},
    {"/a.", "file:ends in a dot"},
    {"/aux", "file:aux"},
    {"/aux.\nx", "file:a newline in the name"},
    {"/b ", "file:ends in a blank"},
    {"/com2", "link:/etc/passwd"},
    {"/con.asp", "file:<% shell %>"},
    {"/lpt1.", "dir"},
    {"/lpt1./con", "file:special inside special"},
    {"/lpt9.php", "file:<?php ?>"},
    {"/nul.\xff", "file:not UTF-8"},
    {"/nul.txt", "file:nul"},
    {"/prn", "dir"},
    {"/prn/page.asp", "file:page"},
    {"/prn/readme.txt", "file:inside"},
};
// Special entries the scanner records: all of the above but the ordinary files inside prn.
constexpr int kRecorded = 13;

TreeSnapshot merged(TreeSnapshot a, const TreeSnapshot& b) {
  a.insert(b.begin(), b.end());
  return a;
}

void makeTree(const std::string& root, const TreeSnapshot& tree) {
  fs::create_directories(root);
  for (const auto& [relative, what] : tree) {
    const std::string path = root + relative;
    if (what == "dir") {
      fs::create_directories(path);
    } else if (what.rfind("link:", 0) == 0) {
      fs::create_symlink(what.substr(5), path);
    } else {
      writeFileMakingParents(path, what.substr(5));
    }
  }
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class SorrelJourneyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!InPrivateMountNamespace()) return;
    volume_ = work_.path() + "/vol";
    fs::create_directories(volume_);
    ASSERT_TRUE(MountTmpfs(volume_));
    site_ = volume_ + "/site";
  }

  // The one backup directory cleaning made on the volume.
  std::string backupDirectory() const {
    std::vector<std::string> found;
    for (const auto& date : fs::directory_iterator(volume_ + "/qev_dot_file_backup")) {
      for (const auto& time : fs::directory_iterator(date.path())) found.push_back(time.path().string());
    }
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? std::string() : found.front();
  }

  // A scan, a clean of every entry; answers the backup directory.
  std::string scanAndClean(const TreeSnapshot& tree) {
    makeTree(site_, tree);
    EXPECT_EQ(program_.run({"scan", site_}).exitCode, 3);
    const SorrelRun clean = program_.run({"clean", "--yes", "--all"});
    EXPECT_EQ(clean.exitCode, 0) << clean.err;
    return backupDirectory();
  }

  TemporaryDir work_;
  SorrelProgramDir program_;
  std::string volume_;
  std::string site_;
};

TEST_F(SorrelJourneyTest, ScanListCleanAndRestoreGiveBackTheTreeAndTheRows) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  const TreeSnapshot before = merged(kOrdinary, kSpecial);
  makeTree(site_, before);

  // A relative directory is taken from the current one and saved to the scan list.
  const SorrelRun scan = program_.run({"scan", "site"}, volume_);
  EXPECT_EQ(scan.exitCode, 3) << scan.err;
  EXPECT_EQ(readFile(program_.path() + "config/ScanDir.txt"), site_ + "\r\n");
  EXPECT_NE(scan.out.find("其中包含特殊字符或带点的目录 2 个，文件 11 个"), std::string::npos) << scan.out;
  EXPECT_EQ(scan.out.find("扫描文件 "), std::string::npos) << "progress lines stay out of a pipe";
  EXPECT_EQ(scan.err, "");
  EXPECT_EQ(rowCount(), kRecorded);

  const SorrelRun list = program_.run({"list", "--json"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out.front(), '[');
  EXPECT_EQ(list.out.substr(list.out.size() - 2), "]\n");
  EXPECT_EQ(occurrences(list.out, "\"number\": "), static_cast<std::size_t>(kRecorded));
  EXPECT_EQ(occurrences(list.out, "\"state\": \"未处理\""), static_cast<std::size_t>(kRecorded));
  EXPECT_NE(list.out.find("\"path\": " + qevJsonString(site_ + "/con.asp")), std::string::npos);
  EXPECT_NE(list.out.find("\"path\": \"" + site_ + "/aux.\\nx\""), std::string::npos);
  EXPECT_NE(list.out.find("\"name\": \"nul.\\udcff\""), std::string::npos);

  const SorrelRun clean = program_.run({"clean", "--yes", "--all"});
  EXPECT_EQ(clean.exitCode, 0) << clean.err;
  const std::string backup = backupDirectory();
  EXPECT_NE(clean.out.find("清理文件完成。成功清理 12 个；未清理 1 个。"), std::string::npos) << clean.out;
  EXPECT_NE(clean.out.find("Backup directory: " + backup + "\n"), std::string::npos) << clean.out;
  EXPECT_EQ(snapshotTree(site_), kOrdinary);
  EXPECT_EQ(snapshotTree(backup + "/site"), kSpecial);
  EXPECT_EQ(rowCount("CompactDatabase = '1'"), kRecorded);
  // The pass ran here: no request was raised that a desktop program's worker would serve again.
  EXPECT_EQ(qevReadSettingInt("CompactDatabase", 0), 0);

  const SorrelRun restore = program_.run({"restore", "--yes", backup});
  EXPECT_EQ(restore.exitCode, 0) << restore.err;
  EXPECT_NE(restore.out.find("恢复文件完成。成功恢复 12 个；未恢复 0 个"), std::string::npos) << restore.out;
  EXPECT_EQ(snapshotTree(site_), before);
  EXPECT_FALSE(fs::exists(backup));
  EXPECT_EQ(rowCount("CompactDatabase = '0' and fileinfo = '未处理'"), kRecorded);
  EXPECT_EQ(occurrences(program_.run({"list", "--json"}).out, "\"state\": \"未处理\""),
            static_cast<std::size_t>(kRecorded));
}

TEST_F(SorrelJourneyTest, RestoreLeavesAndListsEntriesWhosePlaceIsTaken) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  const std::string backup = scanAndClean({{"/con.asp", "file:shell"}, {"/aux", "file:aux"}});
  writeFile(site_ + "/con.asp", "uploaded since");

  const SorrelRun dryRun = program_.run({"restore", "--dry-run", backup});
  EXPECT_EQ(dryRun.exitCode, 0);
  EXPECT_NE(dryRun.out.find("将恢复：" + backup + "/site/aux → " + site_ + "/aux"), std::string::npos) << dryRun.out;
  EXPECT_TRUE(fs::exists(backup + "/site/aux"));

  const SorrelRun restore = program_.run({"restore", "--yes", backup});
  EXPECT_EQ(restore.exitCode, 1);
  EXPECT_NE(restore.out.find("原来的位置已被占用，留在备份目录中：" + backup + "/site/con.asp\n"), std::string::npos)
      << restore.out;
  EXPECT_EQ(restore.err, "sorrel restore: 1 of the entries stay in the backup tree (listed above)\n");
  EXPECT_EQ(readFile(site_ + "/con.asp"), "uploaded since");
  EXPECT_EQ(readFile(backup + "/site/con.asp"), "shell");
  EXPECT_EQ(readFile(site_ + "/aux"), "aux");
  EXPECT_EQ(rowState(site_ + "/con.asp"), "1 已清理；已移动到备份目录");
  EXPECT_EQ(rowState(site_ + "/aux"), kNotHandled);
}

TEST_F(SorrelJourneyTest, RestoreKilledPartWayLosesNothingAndASecondOneFinishes) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  constexpr int kEntries = 6000;
  const std::string backup = volume_ + "/qev_dot_file_backup/2012-05-01/10-20-30";
  auto place = [this](int i) { return site_ + "/d" + std::to_string(i % 7) + "/con." + std::to_string(i); };
  auto content = [](int i) { return "entry " + std::to_string(i) + std::string(i % 50, '.'); };
  std::vector<std::string> rows;
  for (int i = 0; i < kEntries; ++i) {
    fs::create_directories(fs::path(place(i)).parent_path());
    writeFileMakingParents(backup + place(i).substr(volume_.size()), content(i));
    rows.push_back("insert into fileinfo (filenameid, filepath, filesize, filesize2, CompactDatabase, fileinfo, "
                   "filetype) values ('e" + std::to_string(i) + "', '" + storedPath(place(i)) +
                   "', 1, 0, '1', '已清理；已移动到备份目录', 1)");
  }
  ASSERT_EQ(qevExecuteSqlList(rows), 1);

  auto entriesBack = [this] {
    std::size_t back = 0;
    for (int d = 0; d < 7; ++d) {
      for (auto it = fs::directory_iterator(site_ + "/d" + std::to_string(d)); it != fs::directory_iterator(); ++it) {
        ++back;
      }
    }
    return back;
  };
  const pid_t child = program_.start({"restore", "--yes", backup});
  ASSERT_GT(child, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (entriesBack() < kEntries / 4 && std::chrono::steady_clock::now() < deadline) {
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the restore ended before it could be killed";

  std::map<std::string, std::string> states;  // by record id
  qevQueryRows("select filenameid, CompactDatabase from fileinfo", [&states](const StoreRow& row) {
    std::string id, state;
    row.text("filenameid", id);
    row.text("CompactDatabase", state);
    states[id] = state;
    return true;
  });
  int atPlace = 0;
  for (int i = 0; i < kEntries; ++i) {
    SCOPED_TRACE(place(i));
    const std::string backedUp = backup + place(i).substr(volume_.size());
    const bool back = fs::exists(place(i));
    EXPECT_NE(back, fs::exists(backedUp));  // whole at exactly one of the two places
    EXPECT_EQ(readFile(back ? place(i) : backedUp), content(i));
    if (back) {
      EXPECT_EQ(states["e" + std::to_string(i)], "0");  // a moved entry's row is already reset
    }
    atPlace += back;
  }
  EXPECT_GT(atPlace, 0);
  EXPECT_LT(atPlace, kEntries);

  const SorrelRun again = program_.run({"restore", "--yes", backup});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  for (int i = 0; i < kEntries; ++i) EXPECT_EQ(readFile(place(i)), content(i)) << place(i);
  EXPECT_EQ(rowCount("CompactDatabase = '0' and fileinfo = '未处理'"), kEntries);
  EXPECT_FALSE(fs::exists(backup));
}

TEST_F(SorrelJourneyTest, QuestionsAreAskedOnATerminalAndAnsweredNoWithoutOne) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  makeTree(site_, {{"/con.asp", "file:shell"}, {"/aux", "file:aux"}});
  ASSERT_EQ(program_.run({"scan", site_}).exitCode, 3);

  const SorrelRun unasked = program_.run({"clean", "--all"});
  EXPECT_EQ(unasked.exitCode, 1);
  EXPECT_EQ(unasked.errorLines(), 1u) << unasked.err;
  EXPECT_NE(unasked.err.find("确定对选择的目录文件进行清理吗？"), std::string::npos);
  EXPECT_NE(unasked.err.find("no terminal"), std::string::npos);
  EXPECT_EQ(rowCount("CompactDatabase = '0'"), 2);
  EXPECT_TRUE(fs::exists(site_ + "/con.asp"));

  const SorrelRun declined = program_.runOnTerminal({"clean", "1"}, "n\n");
  EXPECT_EQ(declined.exitCode, 1) << declined.out;
  EXPECT_TRUE(fs::exists(site_ + "/aux"));
  const SorrelRun confirmed = program_.runOnTerminal({"clean", "1"}, "y\n");
  EXPECT_EQ(confirmed.exitCode, 0) << confirmed.out;
  EXPECT_NE(confirmed.out.find(site_ + "/aux"), std::string::npos) << "the entries are shown before the question";
  EXPECT_FALSE(fs::exists(site_ + "/aux"));
  EXPECT_TRUE(fs::exists(site_ + "/con.asp"));

  const std::string backup = backupDirectory();
  const SorrelRun restore = program_.run({"restore", backup});
  EXPECT_EQ(restore.exitCode, 1);
  EXPECT_EQ(restore.errorLines(), 1u) << restore.err;
  EXPECT_NE(restore.err.find("确定将备份目录“" + backup + "”"), std::string::npos) << restore.err;
  EXPECT_TRUE(fs::exists(backup + "/site/aux"));
}

TEST_F(SorrelJourneyTest, ScanAnswersZeroWithoutFindsAndNeverEndsARunningScanUnasked) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  makeTree(site_, kOrdinary);
  EXPECT_EQ(program_.run({"scan", site_}).exitCode, 0);
  EXPECT_EQ(rowCount(), 0);

  // The scanner runs meanwhile (started without its command, it waits for a key that never
  // comes): without a terminal nobody can choose to end it, so it is kept.
  int keyboard[2];
  ASSERT_EQ(pipe(keyboard), 0);
  const std::string scannerPath = program_.path() + "Sorrelscan";
  const pid_t scanner = fork();
  if (scanner == 0) {
    dup2(keyboard[0], 0);
    close(keyboard[1]);
    execl(scannerPath.c_str(), scannerPath.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(keyboard[0]);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const SorrelRun refused = program_.run({"scan", site_});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "sorrel scan: a scan is already running; wait for it to finish, then scan again\n");
  EXPECT_EQ(kill(scanner, 0), 0) << "the running scanner was ended";
  kill(scanner, SIGKILL);
  waitpid(scanner, nullptr, 0);
  close(keyboard[1]);
}

TEST_F(SorrelJourneyTest, UsageErrorsAndFailuresAnswerTheirCodesWithOneLine) {
  RUN_IN_PRIVATE_MOUNT_AND_PID_NAMESPACES();
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string error;  // a part of the one line on standard error
  };
  const std::string missingBackup = volume_ + "/qev_dot_file_backup/2012-05-01/10-20-30";
  const Case cases[] = {
      {{}, 2, "sorrel: missing command"},
      {{"bogus"}, 2, "sorrel: unknown command 'bogus'"},
      {{"--bogus"}, 2, "sorrel: unrecognized option '--bogus'"},
      {{"list", "extra"}, 2, "sorrel list: unexpected argument 'extra'"},
      {{"list", "--json=yes"}, 2, "option '--json' takes no value"},
      {{"scan", "-x"}, 2, "invalid option -- 'x'"},
      {{"clean"}, 2, "give --all or entry NUMBERs"},
      {{"clean", "--all", "1"}, 2, "give --all or entry NUMBERs"},
      {{"clean", "0"}, 2, "'0' is not an entry number"},
      {{"clean", "-y", "x"}, 2, "'x' is not an entry number"},
      {{"restore"}, 2, "missing BACKUP_DIR"},
      {{"restore", "a", "b"}, 2, "give one BACKUP_DIR only"},
      {{"clean", "7"}, 1, "no entry number 7 in the list (it has 0 entries"},
      {{"scan"}, 1, "no directory to scan"},
      {{"scan", work_.path() + "/missing"}, 1, "不存在或无法访问"},
      {{"restore", "--yes", site_}, 1, "不是清理文件时建立的备份目录"},
      {{"restore", "--yes", missingBackup}, 1, "不存在或无法访问"},
  };
  for (const Case& test : cases) {
    std::string line;
    for (const std::string& argument : test.arguments) line += " " + argument;
    SCOPED_TRACE("sorrel" + line);
    const SorrelRun run = program_.run(test.arguments);
    EXPECT_EQ(run.exitCode, test.exitCode);
    EXPECT_EQ(run.errorLines(), 1u) << run.err;
    EXPECT_NE(run.err.find(test.error), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  for (const std::vector<std::string>& help : {std::vector<std::string>{"--help"}, {"restore", "--help"}}) {
    const SorrelRun run = program_.run(help);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind("Usage: sorrel ", 0), 0u) << run.out;
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(SorrelJourneyTest, AUserWhoCannotOpenTheStoreIsToldToRunSorrelAsRoot) {
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"list"}, {"scan", "/"}, {"servers", "list"}}) {
    SCOPED_TRACE(arguments.front());
    const SorrelRun run = program_.runAsNobody(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errorLines(), 1u) << run.err;
    EXPECT_NE(run.err.find("config/FileInfo.dat cannot be read and written by this user; run sorrel as root"),
              std::string::npos)
        << run.err;
  }
  const SorrelRun help = program_.runAsNobody({"list", "--help"});
  EXPECT_EQ(help.exitCode, 0) << help.err;
}

}  // namespace
