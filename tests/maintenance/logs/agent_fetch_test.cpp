// The fetch step against the scripted agent: the bounds checked before a request goes out, and
// every answer that must not become a file.
#include "maintenance/logs/agent_fixture.h"

namespace {

const std::string kLogName = "a_FMLog_20261210.txt";
const std::string kLog = "2026-12-10\t12:00:00\tadd\t/srv/www/a.php\r\n2026-12-10\t12:00:01\tdel\t/srv/www/b.php\r\n";

class FetchTest : public AgentTest {
 protected:
  FetchTest() { addLog(kLogName, kLog); }

  // The file as the running agent lists it.
  AgentLogFile listed(const AgentSession& session, const std::string& name = kLogName) {
    int result = 0;
    for (const AgentLogFile& file : listFiles(session, result)) {
      if (file.name == name) return file;
    }
    ADD_FAILURE() << name << " is not listed";
    return {};
  }
};

TEST_F(FetchTest, FetchedFileHoldsExactlyTheListedBytes) {
  addLog("it's_FMLog_20261211.txt", kLog + kLog);
  startAgent();
  const AgentSession session = openSession();
  std::string content;
  EXPECT_EQ(qevFetchAgentLogFile(session, listed(session), content), 1);
  EXPECT_EQ(content, kLog);
  EXPECT_EQ(qevFetchAgentLogFile(session, listed(session, "it's_FMLog_20261211.txt"), content), 1);
  EXPECT_EQ(content, kLog + kLog);
  EXPECT_EQ(agent_->requests().back(), "qevkeyword\tgetfilemonlogfile\tpassword=" + session.proof +
                                           "&sessionid=" + session.sessionId + "&filename=it's_FMLog_20261211.txt&\t");
}

TEST_F(FetchTest, SizesOutsideTheBoundsSendNoRequest) {
  addLog("ten_FMLog.txt", "0123456789");
  startAgent();
  const AgentSession session = openSession();
  std::string content = "left over";
  struct Case {
    const char* sizeText;
    int result;
  };
  // A listed size is read as decimal text: "9" and "104857601" are out of bounds, and so are
  // sizes that would wrap a 32-bit or a 64-bit number to 10, a negative one and an empty one.
  for (const Case c : {Case{"9", 0}, Case{"104857601", 0}, Case{"4294967306", 0}, Case{"18446744073709551626", 0},
                       Case{"-10", 0}, Case{"", 0}, Case{"10", 1}, Case{" +10xyz", 1}}) {
    SCOPED_TRACE(c.sizeText);
    const std::size_t before = fetchRequests();
    EXPECT_EQ(qevFetchAgentLogFile(session, AgentLogFile{"ten_FMLog.txt", c.sizeText, crcOf("0123456789")}, content),
              c.result);
    EXPECT_EQ(fetchRequests(), before + static_cast<std::size_t>(c.result));
    EXPECT_EQ(content, c.result == 1 ? "0123456789" : "");
  }
}

TEST_F(FetchTest, LargestListedSizeIsFetched) {
  const std::string largest(104'857'600, 'L');
  addLog("big_FMLog.txt", largest);
  startAgent();
  const AgentSession session = openSession();
  std::string content;
  EXPECT_EQ(qevFetchAgentLogFile(session, listed(session, "big_FMLog.txt"), content), 1);
  EXPECT_TRUE(content == largest);
}

TEST_F(FetchTest, NamesThatAreNoPlainFileNameSendNoRequest) {
  startAgent();
  const AgentSession session = openSession();
  const AgentLogFile good = listed(session);
  std::string content;
  for (const std::string& name : {"../" + kLogName, "sub/" + kLogName, "sub\\" + kLogName, std::string("..")}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(qevFetchAgentLogFile(session, AgentLogFile{name, good.sizeText, good.crcText}, content), 0);
  }
  EXPECT_EQ(fetchRequests(), 0u);
}

TEST_F(FetchTest, AnswersThatDoNotVerifyAreDropped) {
  const std::string size = std::to_string(kLog.size());
  struct Case {
    const char* name;
    std::vector<std::string> agentOptions;
    AgentLogFile file;  // empty name: as listed
  };
  const Case cases[] = {
      {"the plain file instead of a zlib stream", {"--fault", "fetch:plain"}, {}},
      {"a stream that inflates far beyond its size", {"--fault", "fetch:bomb"}, {}},
      {"a listed CRC with a leading zero", {"--fault", "list:crc-leading-zero"}, {}},
      {"a listed CRC one off", {"--fault", "list:wrong-crc"}, {}},
      {"a listed size one more", {"--fault", "list:wrong-size"}, {}},
      {"a listed size one less", {}, {kLogName, std::to_string(kLog.size() - 1), crcOf(kLog)}},
      {"a file the agent does not have", {}, {"gone_FMLog.txt", size, crcOf(kLog)}},
      {"an empty answer", {"--fault", "fetch:empty"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startAgent(c.agentOptions);
    const AgentSession session = openSession();
    const AgentLogFile file = c.file.name.empty() ? listed(session) : c.file;
    std::string content = "left over";
    EXPECT_EQ(qevFetchAgentLogFile(session, file, content), 0);
    EXPECT_EQ(content, "");
    EXPECT_EQ(fetchRequests(), 1u);
  }
}

TEST_F(FetchTest, ProofOfAnotherSessionGetsNothing) {
  startAgent();
  AgentSession session = openSession();
  const AgentLogFile file = listed(session);
  session.sessionId = "not-issued";
  std::string content;
  EXPECT_EQ(qevFetchAgentLogFile(session, file, content), 0);
}

}  // namespace
