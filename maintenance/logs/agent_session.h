#pragma once
#include <string>

#include "maintenance/logs/tcp_exchange.h"

// A session with one log agent: what the first step gives and every later step of the same
// server's turn sends along. The server password itself never goes on the wire, only the proof.
struct AgentSession {
  std::string ip;
  long long port = 0;
  std::string sessionId;  // as the agent sent it
  std::string proof;      // 32 lower-case hexadecimal digits
  AgentTimeouts timeouts;
};

// The proof of the password: MD5 hex of sessionId followed by the lower-cased MD5 hex of password
// followed by passcode, over the bytes of the texts as they are.
std::string qevAgentPasswordProof(const std::string& password, const std::string& passcode,
                                  const std::string& sessionId);

// Step 1, "getsessionid": asks the agent at ip:port for a session id and a passcode. The answer's
// qevkeyword line must carry exactly "1000" and its sessionid and passcode lines must be present
// and not empty (the first line of each key counts).
//
// 1 and the session (timeouts kept for the later steps); 0 and an empty session when the
// exchange fails or the answer lacks any of that. Nothing is shown or logged.
int qevOpenAgentSession(const std::string& ip, long long port, const std::string& password, AgentSession& session,
                        const AgentTimeouts& timeouts = {});

// "password=<proof>&sessionid=<session id>&": how every later request of the session begins its
// parameters. Values are sent as they are, without escaping.
std::string qevSessionParameters(const AgentSession& session);
