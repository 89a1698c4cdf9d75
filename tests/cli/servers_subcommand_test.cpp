// sorrel servers, the built program: the server list's rules and texts from a terminal or a
// pipe, the password only from standard input and never listed, and its usage errors.
#include <gtest/gtest.h>

#include "cli/sorrel_fixture.h"
#include "maintenance/logs/server_store.h"

using namespace sorrel_test;

namespace {

class ServersSubcommandTest : public ::testing::Test {
 protected:
  std::vector<ServerRow> storedRows() {
    std::vector<ServerRow> rows;
    EXPECT_EQ(qevLoadServerRows(rows), 1);
    return rows;
  }

  SorrelRun addWithInput(const std::vector<std::string>& arguments, const std::string& input) {
    writeFile(program_.path() + "input", input);
    return program_.run(arguments, "/", program_.path() + "input");
  }

  SorrelProgramDir program_;
};

TEST_F(ServersSubcommandTest, AddReadsThePasswordFromAPipeAndListNeverShowsIt) {
  const SorrelRun added = addWithInput(
      {"servers", "add", " 192.168.1.5 ", "8010", "ops", "--remark", "o'brien's box"}, "s3cret pass\n");
  EXPECT_EQ(added.exitCode, 0) << added.err;
  EXPECT_NE(added.out.find("增加IP成功！"), std::string::npos) << added.out;

  const std::vector<ServerRow> rows = storedRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].ip, "192.168.1.5");
  EXPECT_EQ(rows[0].port, "8010");
  EXPECT_EQ(rows[0].username, "ops");
  EXPECT_EQ(rows[0].password, "s3cret pass");
  EXPECT_EQ(rows[0].remark, "o'brien's box");

  const SorrelRun list = program_.run({"servers", "list"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out,
            "序号  IP           端口  用户名  备注\n"
            "   1  192.168.1.5  8010  ops     o'brien's box\n");
  EXPECT_EQ(list.out.find("s3cret"), std::string::npos);
}

TEST_F(ServersSubcommandTest, AddOnATerminalAsksTwiceWithoutEchoAndKeepsTheListRules) {
  const SorrelRun added = program_.runOnTerminal({"servers", "add", "10.0.0.1", "9000", "admin"}, "Pw1\nPw1\n");
  EXPECT_EQ(added.exitCode, 0) << added.out;
  EXPECT_NE(added.out.find("重复密码:"), std::string::npos) << added.out;

  struct Case {
    std::vector<std::string> arguments;
    std::string typed;
    std::string message;
  };
  const Case refusals[] = {
      {{"servers", "add", "10.0.0.2", "9000", "admin"}, "Pw1\npw1\n", "两次填写的密码不一致，请核对！"},
      {{"servers", "add", "10.0.0.2", "9000", "admin"}, "\n\n", "密码填写错误，请核对！"},
      {{"servers", "add", "10.0.0.1", "9001", "root"}, "x\nx\n", "此IP地址已经存在，请核对！"},
      {{"servers", "add", "1.2.3", "9000", "admin"}, "x\nx\n", "IP地址填写错误，请核对！"},
      {{"servers", "add", "10.0.0.2", " ", "admin"}, "x\nx\n", "端口填写错误，请核对！"},
  };
  for (const Case& test : refusals) {
    SCOPED_TRACE(test.message);
    const SorrelRun run = program_.runOnTerminal(test.arguments, test.typed);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find(test.message), std::string::npos) << run.out;
  }
  EXPECT_EQ(storedRows().size(), 1u);
}

TEST_F(ServersSubcommandTest, DeletesAskFirstAndAreAnsweredNoWithoutATerminal) {
  for (const char* ip : {"10.0.0.1", "10.0.0.2"}) {
    ASSERT_EQ(addWithInput({"servers", "add", ip, "9000", "admin"}, "pw\n").exitCode, 0);
  }
  const SorrelRun unasked = program_.run({"servers", "delete", "10.0.0.1"});
  EXPECT_EQ(unasked.exitCode, 1);
  EXPECT_EQ(unasked.errorLines(), 1u) << unasked.err;
  EXPECT_NE(unasked.err.find("确定删除此IP地址吗？"), std::string::npos) << unasked.err;
  EXPECT_EQ(storedRows().size(), 2u);

  const SorrelRun deleted = program_.run({"servers", "delete", "--yes", "10.0.0.1"});
  EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
  EXPECT_NE(deleted.out.find("删除成功！"), std::string::npos);
  const SorrelRun missing = program_.run({"servers", "delete", "-y", "10.0.0.1"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("此IP地址不存在或已被删除，请核对！"), std::string::npos) << missing.err;
  ASSERT_EQ(storedRows().size(), 1u);

  EXPECT_EQ(program_.runOnTerminal({"servers", "delete-all"}, "n\n").exitCode, 1);
  EXPECT_EQ(storedRows().size(), 1u);
  const SorrelRun all = program_.run({"servers", "delete-all", "--yes"});
  EXPECT_EQ(all.exitCode, 0) << all.err;
  EXPECT_NE(all.out.find("删除完成！"), std::string::npos);
  EXPECT_TRUE(storedRows().empty());
}

TEST_F(ServersSubcommandTest, UsageErrorsAnswerTwoWithOneLine) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"servers"}, "missing action"},
      {{"servers", "bogus"}, "unknown action 'bogus'"},
      {{"servers", "list", "x"}, "unexpected argument 'x'"},
      {{"servers", "add", "10.0.0.1", "9000"}, "add takes IP PORT USER"},
      {{"servers", "add", "10.0.0.1", "9000", "u", "pw"}, "add takes IP PORT USER"},
      {{"servers", "delete"}, "delete takes one IP"},
      {{"servers", "delete-all", "x"}, "unexpected argument 'x'"},
      {{"servers", "delete", "--remark", "r", "10.0.0.1"}, "--remark belongs to add"},
      {{"servers", "add", "--remark"}, "requires a value"},
  };
  for (const Case& test : cases) {
    std::string line;
    for (const std::string& argument : test.arguments) line += " " + argument;
    SCOPED_TRACE("sorrel" + line);
    const SorrelRun run = program_.run(test.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errorLines(), 1u) << run.err;
    EXPECT_NE(run.err.find(test.error), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  const SorrelRun help = program_.run({"servers", "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: sorrel servers ", 0), 0u) << help.out;
}

}  // namespace
