#pragma once
#include <cstddef>
#include <string>

// How long the agent client waits. Every exchange has all three bounds, so no agent can hold
// the download: one that never accepts, one that accepts and stays silent, and one that trickles
// its answer all end the exchange as a failure.
struct AgentTimeouts {
  int connectMilliseconds = 10'000;    // until the connection stands
  int idleMilliseconds = 30'000;       // longest silence while sending or receiving
  int deadlineMilliseconds = 120'000;  // a whole exchange; a fetch adds time for its size
};

// One exchange on a fresh TCP connection: connect to host:port (dotted IPv4 numbers, no name
// lookup), send the whole request, read until the agent closes the connection, close.
// sizeHint > 0 sets aside sizeHint + 1,024 bytes for the answer (never more than maxAnswer).
//
// 1 with the answer (at least one byte) and receivedCount = its length. 0 with an empty answer
// and a count of 0 when host is empty or no IPv4 address, port is outside 1..65535, the
// connection or the request fails, a receive fails, the agent closes without a byte, sends more
// than maxAnswer bytes, or a time-out passes.
int qevTcpExchange(const std::string& host, long long port, const std::string& request, std::size_t sizeHint,
                   std::size_t maxAnswer, const AgentTimeouts& timeouts, std::string& answer,
                   std::size_t& receivedCount);
