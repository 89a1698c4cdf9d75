// Agents that misbehave on the wire: every step fails, and none holds the client beyond its
// time-outs. Addresses and ports that must never be reached fail before connecting.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "maintenance/logs/agent_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each failure must come from a time-out, a cap or the agent's close, well before the agent
// itself would give up (ten minutes for a silent connection).
constexpr auto kLongestExpected =
    std::chrono::milliseconds(kTestTimeouts.deadlineMilliseconds) + std::chrono::seconds(10);

const std::string kLog = "line one of the log\r\nline two of the log\r\n";

class MisbehavingAgent : public AgentTest, public ::testing::WithParamInterface<const char*> {
 protected:
  MisbehavingAgent() { addLog("a_FMLog_20261210.txt", kLog); }

  // Runs one step against an agent with the fault; answers the step's result.
  int runStep(const std::string& step, const std::string& mode);
};

int MisbehavingAgent::runStep(const std::string& step, const std::string& mode) {
  startAgent({"--fault", step + ":" + mode});
  if (step == "session") {
    AgentSession session;
    return qevOpenAgentSession("127.0.0.1", agent_->port(), kPassword, session, kTestTimeouts);
  }
  const AgentSession session = openSession();
  int result = 0;
  if (step == "list") {
    listFiles(session, result);
    return result;
  }
  std::string fetched;
  return qevFetchAgentLogFile(session, AgentLogFile{"a_FMLog_20261210.txt", std::to_string(kLog.size()), crcOf(kLog)},
                              fetched);
}

TEST_P(MisbehavingAgent, EveryMisbehaviourFailsTheStepWithinItsTimeouts) {
  for (const char* mode : {"empty", "silent", "endless", "trickle"}) {
    SCOPED_TRACE(mode);
    const auto started = Clock::now();
    EXPECT_EQ(runStep(GetParam(), mode), 0);
    EXPECT_LT(Clock::now() - started, kLongestExpected);
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, MisbehavingAgent, ::testing::Values("session", "list", "fetch"));

// A port nobody listens on: bound, then released.
int unusedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  close(fd);
  return ntohs(address.sin_port);
}

TEST(AgentConnect, ConnectionThatNeverCompletesEndsWithTheConnectTimeout) {
  // A listener that never accepts, its queue filled: further connections are never completed.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  std::vector<int> queued;
  for (int i = 0; i < 4; ++i) {
    queued.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
    connect(queued.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));

  // The connect time-out is far shorter than the idle time-out: only it can end the step early.
  const AgentTimeouts timeouts{500, 30'000, 60'000};
  AgentSession session;
  const auto started = Clock::now();
  EXPECT_EQ(qevOpenAgentSession("127.0.0.1", ntohs(address.sin_port), kPassword, session, timeouts), 0);
  EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(timeouts.idleMilliseconds));
  for (const int fd : queued) close(fd);
  close(listener);
}

TEST_F(AgentTest, AddressesAndPortsOutsideTheirFormFailBeforeConnecting) {
  startAgent();
  const long long port = agent_->port();
  struct Case {
    const char* name;
    std::string host;
    long long port;
  };
  const Case cases[] = {
      // Through a 16-bit conversion this would be the agent's own port.
      {"a port that wraps onto the agent's", "127.0.0.1", port + 65'536},
      {"port 0", "127.0.0.1", 0},
      {"a negative port", "127.0.0.1", port - 65'536},
      {"no host", "", port},
      {"a name is not looked up", "localhost", port},
      {"nothing listens", "127.0.0.1", unusedPort()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AgentSession session;
    EXPECT_EQ(qevOpenAgentSession(c.host, c.port, kPassword, session, kTestTimeouts), 0);
  }
  EXPECT_TRUE(agent_->requests().empty());

  std::string answer = "left over";
  std::size_t received = 7;
  EXPECT_EQ(qevTcpExchange("127.0.0.1", port, "qevkeyword\tgetsessionid\t", 0, 10, kTestTimeouts, answer, received), 0)
      << "an answer longer than the cap fails";
  EXPECT_EQ(answer, "");
  EXPECT_EQ(received, 0u);
  EXPECT_EQ(qevTcpExchange("127.0.0.1", port, "qevkeyword\tgetsessionid\t", 0, 4096, kTestTimeouts, answer, received),
            1);
  EXPECT_EQ(received, answer.size());
  EXPECT_EQ(answer.rfind("qevkeyword=1000\r\n", 0), 0u);
}

}  // namespace
