// The server list's edits on a real store: every rule of adding, deleting and deleting all, the
// messages, and texts with apostrophes.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include "common/store/datastore.h"
#include "maintenance/logs/server_edits.h"
#include "maintenance/logs/server_store.h"
#include "support/program_dir.h"
#include "support/scripted_prompter.h"

namespace {

const std::string kIpWrong = "IP地址填写错误，请核对！";
const std::string kAdded = "增加IP成功！";
const std::string kAddFailed = "增加IP时发生错误，请重试！";
const std::string kIpMissing = "此IP地址不存在或已被删除，请核对！";
const std::string kDeleteFailed = "删除IP时发生错误，请重试！";

ServerFields fields(const std::string& ip, const std::string& remark = "web 1") {
  return ServerFields{ip, "8010", "admin", "Secret", "Secret", remark};
}

class ServerEditsTest : public ::testing::Test {
 protected:
  std::vector<ServerRow> stored() {
    std::vector<ServerRow> rows;
    EXPECT_EQ(qevLoadServerRows(rows), 1);
    return rows;
  }

  void add(const ServerFields& typed) {
    ASSERT_EQ(qevAddServer(prompter_, typed, nullptr), ServerEdit::Done);
    prompter_.clear();
  }

  // The one message shown since the last clear.
  void expectShown(const std::string& text, MessageIcon icon) {
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text, text);
    EXPECT_EQ(prompter_.shown()[0].icon, icon);
    EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::Ok);
  }

  void breakStore() { std::filesystem::remove(programDir_.store()); }

  TemporaryProgramDir programDir_;
  ScriptedPrompter prompter_;
  int reloads_ = 0;
  std::function<void()> reload_ = [this] { ++reloads_; };
};

TEST_F(ServerEditsTest, AddChecksEachFieldInOrderAndStoresTheTrimmedTexts) {
  struct Case {
    const char* name;
    ServerFields typed;
    std::string message;  // empty: added
  };
  const Case cases[] = {
      {"seven bytes", {"1.2.3.4", "8010", "admin", "pw", "pw", ""}, ""},
      {"fifteen bytes, blanks around", {" \t123.123.123.123\r\n ", " 80 ", " admin ", " pw ", "pw", "  r  "}, ""},
      {"any seven to fifteen bytes", {"not-an-ip", "port?", "u", "p", "p", ""}, ""},
      {"six bytes", {"1.2.3.", "8010", "admin", "pw", "pw", ""}, kIpWrong},
      {"sixteen bytes", {"123.123.123.1234", "8010", "admin", "pw", "pw", ""}, kIpWrong},
      {"blanks only", {"               ", "8010", "admin", "pw", "pw", ""}, kIpWrong},
      {"the ip is checked first", {"1.2", "", "", "", "", ""}, kIpWrong},
      {"no port", {"1.2.3.5", "  ", "admin", "pw", "pw", ""}, "端口填写错误，请核对！"},
      {"no user name", {"1.2.3.5", "8010", "\t", "pw", "pw", ""}, "用户名填写错误，请核对！"},
      {"no password", {"1.2.3.5", "8010", "admin", " ", "", ""}, "密码填写错误，请核对！"},
      {"passwords differ in case",
       {"1.2.3.5", "8010", "admin", "Secret", "secret", ""},
       "两次填写的密码不一致，请核对！"},
      {"an ip that exists, other fields differ",
       {"1.2.3.4", "9", "other", "x", "x", "other"},
       "此IP地址已经存在，请核对！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.clear();
    const std::size_t before = stored().size();
    const ServerEdit edit = qevAddServer(prompter_, c.typed, reload_);
    if (c.message.empty()) {
      EXPECT_EQ(edit, ServerEdit::Done);
      expectShown(kAdded, MessageIcon::Information);
      EXPECT_EQ(stored().size(), before + 1);
    } else {
      EXPECT_EQ(edit, ServerEdit::Refused);
      expectShown(c.message, MessageIcon::Question);
      EXPECT_EQ(stored().size(), before);
    }
  }
  EXPECT_EQ(reloads_, 3);
  const std::vector<ServerRow> rows = stored();
  ASSERT_EQ(rows.size(), 3u);
  // In ip order.
  EXPECT_EQ(rows[0].ip, "1.2.3.4");
  EXPECT_EQ(rows[1].ip, "123.123.123.123");
  EXPECT_EQ(rows[1].port, "80");
  EXPECT_EQ(rows[1].username, "admin");
  EXPECT_EQ(rows[1].password, "pw");
  EXPECT_EQ(rows[1].remark, "r");
  EXPECT_EQ(rows[2].ip, "not-an-ip");
}

TEST_F(ServerEditsTest, ApostrophesAreStoredAsTypedAndNoTextChangesAStatement) {
  add(fields("10.0.0.1"));
  add(ServerFields{"10.0.0.'2", "80'", "o'brien", "p'w", "p'w", "it's web 2"});
  add(fields("10.0.0.3", "x'); delete from serverip; --"));
  add(fields("10.0.0.4", "' or '1'='1"));
  const std::vector<ServerRow> rows = stored();
  ASSERT_EQ(rows.size(), 4u);
  // "'" sorts before the digits.
  EXPECT_EQ(rows[0].ip, "10.0.0.'2");
  EXPECT_EQ(rows[0].port, "80'");
  EXPECT_EQ(rows[0].username, "o'brien");
  EXPECT_EQ(rows[0].password, "p'w");
  EXPECT_EQ(rows[0].remark, "it's web 2");
  EXPECT_EQ(rows[2].remark, "x'); delete from serverip; --");

  // The lookup is quoted too: "' or '1'='1" matches no ip, so nothing is deleted by it.
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevDeleteServer(prompter_, "' or '1'='1", nullptr), ServerEdit::Refused);
  EXPECT_EQ(qevServerExists("10.0.0.'2"), 1);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevDeleteServer(prompter_, "10.0.0.'2", nullptr), ServerEdit::Done);
  EXPECT_EQ(stored().size(), 3u);
}

TEST_F(ServerEditsTest, DeleteGoesByTheTypedIpAfterAYes) {
  add(fields("10.0.0.1"));
  add(fields("10.0.0.2"));
  struct Case {
    const char* name;
    PromptAnswer answer;
    std::string ip;
    ServerEdit edit;
    std::string message;  // after the question; empty: none
    MessageIcon icon;
  };
  const Case cases[] = {
      {"answered No", PromptAnswer::No, "10.0.0.1", ServerEdit::NotConfirmed, "", MessageIcon::Question},
      {"too short", PromptAnswer::Yes, "1.2.3.", ServerEdit::Refused, kIpWrong, MessageIcon::Question},
      {"not in the list", PromptAnswer::Yes, "10.0.0.9", ServerEdit::Refused, kIpMissing, MessageIcon::Question},
      {"typed with blanks", PromptAnswer::Yes, "  10.0.0.1 ", ServerEdit::Done, "删除成功！", MessageIcon::Information},
      {"already deleted", PromptAnswer::Yes, "10.0.0.1", ServerEdit::Refused, kIpMissing, MessageIcon::Question},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.clear();
    prompter_.answerNext(c.answer);
    EXPECT_EQ(qevDeleteServer(prompter_, c.ip, reload_), c.edit);
    ASSERT_EQ(prompter_.shown().size(), c.message.empty() ? 1u : 2u);
    EXPECT_EQ(prompter_.shown()[0].text, "确定删除此IP地址吗？");
    EXPECT_EQ(prompter_.shown()[0].buttons, PromptButtons::YesNo);
    if (!c.message.empty()) {
      EXPECT_EQ(prompter_.shown()[1].text, c.message);
      EXPECT_EQ(prompter_.shown()[1].icon, c.icon);
    }
  }
  EXPECT_EQ(reloads_, 1);
  ASSERT_EQ(stored().size(), 1u);
  EXPECT_EQ(stored()[0].ip, "10.0.0.2");
}

TEST_F(ServerEditsTest, DeleteAllReportsDoneOnlyWhenTheRowsAreGone) {
  add(fields("10.0.0.1"));
  add(fields("10.0.0.2"));

  prompter_.answerNext(PromptAnswer::No);
  EXPECT_EQ(qevDeleteAllServers(prompter_, reload_), ServerEdit::NotConfirmed);
  EXPECT_EQ(reloads_, 0);
  EXPECT_EQ(stored().size(), 2u);

  // A store that refuses the delete: the list reloads with the rows, and says so.
  ASSERT_EQ(qevExecuteSql("create trigger keep before delete on serverip begin select raise(abort, 'kept'); end"), 1);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  std::size_t rowsAtReload = 0;
  EXPECT_EQ(qevDeleteAllServers(prompter_, [&] { rowsAtReload = stored().size(); }), ServerEdit::Failed);
  EXPECT_EQ(rowsAtReload, 2u);
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[0].text, "确定删除所有IP地址吗？");
  EXPECT_EQ(prompter_.shown()[1].text, kDeleteFailed);
  EXPECT_EQ(prompter_.shown()[1].icon, MessageIcon::Question);

  ASSERT_EQ(qevExecuteSql("drop trigger keep"), 1);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevDeleteAllServers(prompter_, [&] { rowsAtReload = stored().size(); }), ServerEdit::Done);
  EXPECT_EQ(rowsAtReload, 0u);
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[1].text, "删除完成！");
  EXPECT_EQ(prompter_.shown()[1].icon, MessageIcon::Information);
}

TEST_F(ServerEditsTest, UnreachableStoreFailsEveryEditWithItsMessage) {
  add(fields("10.0.0.1"));
  breakStore();
  std::vector<ServerRow> rows(3);
  EXPECT_EQ(qevLoadServerRows(rows), 0);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(qevServerExists("10.0.0.1"), 0);

  // The failed lookup lets the insert decide, and the insert fails.
  EXPECT_EQ(qevAddServer(prompter_, fields("10.0.0.2"), reload_), ServerEdit::Failed);
  expectShown(kAddFailed, MessageIcon::Question);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevDeleteServer(prompter_, "10.0.0.1", reload_), ServerEdit::Refused);
  EXPECT_EQ(prompter_.shown().back().text, kIpMissing);
  prompter_.clear();
  prompter_.answerNext(PromptAnswer::Yes);
  EXPECT_EQ(qevDeleteAllServers(prompter_, reload_), ServerEdit::Failed);
  EXPECT_EQ(prompter_.shown().back().text, kDeleteFailed);
  EXPECT_EQ(reloads_, 1);
}

TEST_F(ServerEditsTest, LoadReadsAThousandRowsInIpOrderAndNullsAsEmptyTexts) {
  std::vector<std::string> statements;
  for (int i = 1100; i > 0; --i) {
    statements.push_back("insert into serverip(ip,port) values ('10.0." + std::to_string(10000 + i) + "', null)");
  }
  ASSERT_EQ(qevExecuteSqlList(statements), 1);
  const std::vector<ServerRow> rows = stored();
  ASSERT_EQ(rows.size(), kServerSlots);
  EXPECT_EQ(rows.front().ip, "10.0.10001");
  EXPECT_EQ(rows.back().ip, "10.0.11000");
  EXPECT_EQ(rows.front().port, "");
  EXPECT_EQ(rows.front().remark, "");
}

unsigned modeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

TEST_F(ServerEditsTest, StoreThatHoldsThePasswordsIsForItsOwnerOnly) {
  EXPECT_EQ(modeOf(std::string(SORREL_DIST_DIR) + "/config/FileInfo.dat"), 0600u);
  EXPECT_EQ(modeOf(programDir_.store()), 0600u);
  // While a connection writes, its write-ahead files exist beside the store: they hold the
  // passwords too.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(programDir_.store().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "insert into serverip(ip,password) values ('10.0.0.1','pw')", nullptr, nullptr, nullptr),
            SQLITE_OK);
  EXPECT_EQ(modeOf(programDir_.store() + "-wal"), 0600u);
  EXPECT_EQ(modeOf(programDir_.store() + "-shm"), 0600u);
  sqlite3_close(db);
}

}  // namespace
