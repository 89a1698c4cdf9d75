#pragma once
#include <string>

#include "maintenance/logs/agent_listing.h"

// Step 3, "getfilemonlogfile": fetches one listed file with the session's id and proof. The
// whole answer is one zlib stream of the file.
//
// Checked before anything is sent: the listed size (read as decimal text) lies in
// 10..104,857,600 and the name is a plain file name; otherwise no request goes out. Checked on
// the answer: 10..104,857,600 bytes, it decompresses (zlib uncompress) into at most the listed
// size + 10 bytes, the result is exactly the listed size, and its CRC-32 written as unsigned
// decimal equals the listed CRC text exactly (so "0123" never matches).
//
// The exchange may take the session's deadline plus 4 s for every MiB of the listed size.
//
// 1 and content holding exactly the listed number of bytes; 0 and an empty content otherwise.
// A stream that inflates beyond its listed size is cut off at that size + 10 bytes.
int qevFetchAgentLogFile(const AgentSession& session, const AgentLogFile& file, std::string& content);
