// The session step against the scripted agent: how the answer's keys are looked up, what is
// refused, the request on the wire, and the password proof the agent checks.
#include "maintenance/logs/agent_fixture.h"
#include "maintenance/logs/response_value.h"

namespace {

TEST_F(AgentTest, SessionAnswersFollowTheKeyLookupRules) {
  struct Case {
    const char* name;
    std::string answer;
    bool accepted;
    std::string sessionId;
  };
  const Case cases[] = {
      {"plain lines", "qevkeyword=1000\r\nsessionid=S1\r\npasscode=P1\r\n", true, "S1"},
      {"keys ignore case", "QevKeyword=1000\r\nSESSIONID=S1\r\nPassCode=P1", true, "S1"},
      {"runs of CR and LF, no final break", "\n\r\nqevkeyword=1000\n\n\rsessionid=S1\r\r\rpasscode=P1", true, "S1"},
      {"the first of two sessionid lines", "qevkeyword=1000\r\nsessionid=S1\r\nsessionid=S2\r\npasscode=P1\r\n", true,
       "S1"},
      {"a value keeps its blanks and its own =", "qevkeyword=1000\r\nsessionid= S=1 \r\npasscode=P1\r\n", true,
       " S=1 "},
      {"lines without = are ignored", "hello\r\nqevkeyword=1000\r\nsessionid=S1\r\npasscode=P1\r\n", true, "S1"},
      {"keyword 1000 followed by a blank", "qevkeyword=1000 \r\nsessionid=S1\r\npasscode=P1\r\n", false, ""},
      {"keyword with a leading zero", "qevkeyword=01000\r\nsessionid=S1\r\npasscode=P1\r\n", false, ""},
      {"a blank before = is part of the key", "qevkeyword =1000\r\nsessionid=S1\r\npasscode=P1\r\n", false, ""},
      {"the first keyword line decides", "qevkeyword=1001\r\nqevkeyword=1000\r\nsessionid=S1\r\npasscode=P1", false,
       ""},
      {"an empty passcode", "qevkeyword=1000\r\nsessionid=S1\r\npasscode=\r\n", false, ""},
      {"no session id", "qevkeyword=1000\r\npasscode=P1\r\n", false, ""},
      {"an empty session id", "qevkeyword=1000\r\nsessionid=\r\npasscode=P1\r\n", false, ""},
      {"no keyword", "sessionid=S1\r\npasscode=P1\r\n", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    startAgent({"--answer", "session:" + answerFile(c.answer)});
    AgentSession session;
    EXPECT_EQ(qevOpenAgentSession("127.0.0.1", agent_->port(), kPassword, session, kTestTimeouts), c.accepted ? 1 : 0);
    EXPECT_EQ(session.sessionId, c.sessionId);
    if (c.accepted) {
      EXPECT_EQ(session.ip, "127.0.0.1");
      EXPECT_EQ(session.port, agent_->port());
      EXPECT_EQ(session.proof.size(), 32u);
    }
  }
}

TEST_F(AgentTest, SessionRequestIsTheFixedTwentyFourBytes) {
  startAgent();
  openSession();
  ASSERT_EQ(agent_->requests().size(), 1u);
  EXPECT_EQ(agent_->requests()[0], "qevkeyword\tgetsessionid\t");
}

TEST_F(AgentTest, ProofIsTheDigestOfSessionIdAndPasswordDigest) {
  // md5("S1" + md5("pwP1")), computed with md5sum.
  EXPECT_EQ(qevAgentPasswordProof("pw", "P1", "S1"), "dc2e771450f6adae7f9418932869b11a");

  addLog("a_FMLog_20261210.txt", "line one of the log\r\n");
  // A passcode with "=" in it is taken whole: only then does the agent accept the proof.
  startAgent({"--passcode", "a=b", "--session-id", "S-9"});
  const AgentSession session = openSession();
  EXPECT_EQ(session.sessionId, "S-9");
  EXPECT_EQ(session.proof, qevAgentPasswordProof(kPassword, "a=b", "S-9"));
  int result = 0;
  EXPECT_EQ(listFiles(session, result).size(), 1u);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(agent_->requests().back(), "qevkeyword\tgetfilemonlogdir\tpassword=" + session.proof + "&sessionid=S-9&\t");
}

TEST_F(AgentTest, AgentRefusesTheProofOfAnotherPassword) {
  addLog("a_FMLog_20261210.txt", "line one of the log\r\n");
  startAgent();
  // Letter case counts in the password.
  const AgentSession session = openSession("PW");
  int result = 1;
  EXPECT_TRUE(listFiles(session, result).empty());
  EXPECT_EQ(result, 0);
}

TEST_F(AgentTest, KeywordMisbehaviourFailsTheSession) {
  for (const char* fault : {"session:no-keyword", "session:wrong-keyword", "session:empty"}) {
    SCOPED_TRACE(fault);
    startAgent({"--fault", fault});
    AgentSession session;
    EXPECT_EQ(qevOpenAgentSession("127.0.0.1", agent_->port(), kPassword, session, kTestTimeouts), 0);
    EXPECT_TRUE(session.sessionId.empty());
  }
}

TEST(ResponseValue, EmptyAnswerOrSeparatorsFindNothing) {
  std::string value = "left over";
  EXPECT_FALSE(qevGetResponseValue("", "a", "\r\n", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(qevGetResponseValue("a=1", "a", "", value));
  EXPECT_TRUE(qevGetResponseValue(std::string("x=1\r\na=\0z", 9), "A", "\r\n", value));
  EXPECT_EQ(value, std::string("\0z", 2));
}

}  // namespace
