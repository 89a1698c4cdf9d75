#pragma once
#include <string>

// One server of table serverip, its texts as stored (a NULL column reads as "").
struct ServerRow {
  std::string ip;    // dotted IPv4 address, 7..15 bytes when entered through the list
  std::string port;  // decimal text, read when the agent is reached
  std::string username;
  std::string password;  // as typed; never shown and never written to a log
  std::string remark;
};

// The server list holds at most this many servers; rows beyond it are not read.
inline constexpr std::size_t kServerSlots = 1'000;
