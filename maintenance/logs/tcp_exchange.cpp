#include "maintenance/logs/tcp_exchange.h"

#include <cstdint>

#include "common/platform/tcp_client.h"
#include "maintenance/logs/agent_protocol.h"

int qevTcpExchange(const std::string& host, long long port, const std::string& request, std::size_t sizeHint,
                   std::size_t maxAnswer, const AgentTimeouts& timeouts, std::string& answer,
                   std::size_t& receivedCount) {
  answer.clear();
  receivedCount = 0;
  // A port is checked before the 16-bit conversion, which would otherwise wrap it onto another.
  if (host.empty() || port < 1 || port > 65'535 || maxAnswer == 0) return 0;
  const sorrel::platform::TcpTimeouts waits{timeouts.connectMilliseconds, timeouts.idleMilliseconds,
                                            timeouts.deadlineMilliseconds};
  const std::size_t reserve = sizeHint > 0 ? sizeHint + agent_protocol::kAnswerSlack : 0;
  const auto outcome =
      sorrel::platform::tcpExchange(host, static_cast<std::uint16_t>(port), request, reserve, maxAnswer, waits, answer);
  if (outcome != sorrel::platform::TcpOutcome::Closed || answer.empty()) {
    answer.clear();
    return 0;
  }
  receivedCount = answer.size();
  return 1;
}
