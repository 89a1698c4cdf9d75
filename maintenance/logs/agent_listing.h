#pragma once
#include <functional>
#include <string>

#include "maintenance/logs/agent_session.h"

// One log file as the agent lists it: texts as received, not checked beyond the line rules below.
struct AgentLogFile {
  std::string name;
  std::string sizeText;  // decimal bytes of the uncompressed file
  std::string crcText;   // unsigned decimal CRC-32 of the uncompressed file
};

// Step 2, "getfilemonlogdir": asks for the agent's list of log files with the session's id and
// proof. The answer's head (before the first "\r\n\r\n"; without one, the body starts at byte 3)
// must carry qevkeyword "1000", and its body must be 10 to 10,485,760 bytes. The body's lines
// (split at runs of CR and LF) are trimmed of white space; a line shorter than 10 bytes, with
// fewer than three TAB-separated fields, or whose name (field 0) is not a plain file name (no
// "/", "\", "..", control characters) is skipped; further fields are ignored, and the size and
// CRC fields may be empty.
//
// 1 when the list was accepted: onFile got every accepted file, in answer order, before the
// return. 0 when the exchange or the checks failed: onFile was not called.
int qevListAgentLogFiles(const AgentSession& session, const std::function<void(const AgentLogFile&)>& onFile);
