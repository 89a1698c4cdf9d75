#include "maintenance/logs/agent_fetch.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/files/plain_file_name.h"
#include "common/text/decimal_text.h"
#include "maintenance/logs/agent_protocol.h"

using namespace agent_protocol;

namespace {

constexpr long long kMiB = 1'048'576;
constexpr int kFetchMillisecondsPerMiB = 4'000;

// A large file may take longer than a text answer, but never without bound.
AgentTimeouts fetchTimeouts(const AgentTimeouts& session, long long listedSize) {
  AgentTimeouts timeouts = session;
  const long long extra = listedSize * kFetchMillisecondsPerMiB / kMiB;
  timeouts.deadlineMilliseconds = static_cast<int>(std::min<long long>(
      static_cast<long long>(session.deadlineMilliseconds) + extra, std::numeric_limits<int>::max()));
  return timeouts;
}

bool decompressInto(const std::string& stream, std::size_t listedSize, std::string& content) {
  content.resize(listedSize + kDecompressSlack);
  uLongf produced = static_cast<uLongf>(content.size());
  const int result = uncompress(reinterpret_cast<Bytef*>(content.data()), &produced,
                                reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size()));
  if (result != Z_OK || produced != listedSize) return false;
  content.resize(produced);
  return true;
}

std::string crcText(const std::string& content) {
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32_z(crc, reinterpret_cast<const Bytef*>(content.data()), content.size());
  return std::to_string(static_cast<unsigned long>(static_cast<std::uint32_t>(crc)));
}

}  // namespace

int qevFetchAgentLogFile(const AgentSession& session, const AgentLogFile& file, std::string& content) {
  std::string().swap(content);
  const long long listedSize = qevReadDecimal(file.sizeText);
  if (listedSize < kMinFileBytes || listedSize > kMaxFileBytes || !qevIsPlainFileName(file.name)) return 0;

  const std::string parameters = qevSessionParameters(session) + "filename=" + file.name + "&";
  std::string answer;
  std::size_t received = 0;
  if (qevTcpExchange(session.ip, session.port, request(kFetchCommand, parameters), static_cast<std::size_t>(listedSize),
                     static_cast<std::size_t>(kMaxFileBytes), fetchTimeouts(session.timeouts, listedSize), answer,
                     received) != 1) {
    return 0;
  }
  if (answer.size() < static_cast<std::size_t>(kMinFileBytes)) return 0;
  const bool verified =
      decompressInto(answer, static_cast<std::size_t>(listedSize), content) && crcText(content) == file.crcText;
  if (!verified) std::string().swap(content);
  return verified ? 1 : 0;
}
