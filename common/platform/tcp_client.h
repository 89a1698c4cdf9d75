#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A small blocking TCP client for one request and one answer on a fresh IPv4 connection.
namespace sorrel::platform {

// Every wait of an exchange is bounded, so no peer can hold the caller: a connect that does not
// complete, a peer that stops sending, and a peer that trickles bytes all end the exchange.
struct TcpTimeouts {
  int connectMilliseconds = 10'000;    // from the start until the connection stands
  int idleMilliseconds = 30'000;       // longest wait for the next byte (or for room to send)
  int deadlineMilliseconds = 120'000;  // the whole exchange, connect included
};

enum class TcpOutcome {
  Closed,         // the request went out whole and the peer closed after answer (maybe empty)
  BadAddress,     // not dotted IPv4 numbers (no name lookup is made), or port 0
  ConnectFailed,  // refused, unreachable, or no connection within the connect time-out
  SendFailed,     // the connection broke while the request was sent
  ReceiveFailed,  // the connection broke while the answer came
  TimedOut,       // the idle time-out or the deadline passed
  TooLong,        // the peer sent more than maxAnswer bytes
};

// Connects to address:port, sends every byte of request, then collects what the peer sends
// until it closes the connection: at most maxAnswer bytes, read at most 65,535 bytes at a time.
// reserve (capped at maxAnswer) is set aside up front so a large answer is not copied as it
// grows. On any outcome but Closed the answer is empty. The socket is always closed; SIGPIPE is
// never raised.
TcpOutcome tcpExchange(const std::string& address, std::uint16_t port, const std::string& request, std::size_t reserve,
                       std::size_t maxAnswer, const TcpTimeouts& timeouts, std::string& answer);

}  // namespace sorrel::platform
