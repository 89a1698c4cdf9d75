#include "maintenance/logs/agent_session.h"

#include "common/text/ascii_case.h"
#include "common/text/md5_hex.h"
#include "maintenance/logs/agent_protocol.h"
#include "maintenance/logs/response_value.h"

using namespace agent_protocol;

namespace {

std::string md5Hex(const std::string& text) { return qevMd5Hex(text.data(), text.size()); }

bool hasValue(const std::string& answer, const char* key, std::string& value) {
  return qevGetResponseValue(answer, key, kLineSeparators, value) && !value.empty();
}

}  // namespace

std::string qevAgentPasswordProof(const std::string& password, const std::string& passcode,
                                  const std::string& sessionId) {
  const std::string inner = qevLowerAscii(md5Hex(password + passcode));
  return md5Hex(sessionId + inner);
}

int qevOpenAgentSession(const std::string& ip, long long port, const std::string& password, AgentSession& session,
                        const AgentTimeouts& timeouts) {
  session = AgentSession{};
  std::string answer;
  std::size_t received = 0;
  if (qevTcpExchange(ip, port, request(kSessionCommand), kTextSizeHint, kMaxTextAnswer, timeouts, answer, received) !=
      1) {
    return 0;
  }

  std::string keyword;
  std::string passcode;
  std::string sessionId;
  if (!qevGetResponseValue(answer, kKeyword, kLineSeparators, keyword) || keyword != kKeywordValue) return 0;
  if (!hasValue(answer, "passcode", passcode) || !hasValue(answer, "sessionid", sessionId)) return 0;

  session.ip = ip;
  session.port = port;
  session.sessionId = sessionId;
  session.proof = qevAgentPasswordProof(password, passcode, sessionId);
  session.timeouts = timeouts;
  return 1;
}

std::string qevSessionParameters(const AgentSession& session) {
  return "password=" + session.proof + "&sessionid=" + session.sessionId + "&";
}
