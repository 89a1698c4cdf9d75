#include "maintenance/logs/agent_listing.h"

#include <algorithm>
#include <string_view>

#include "common/files/plain_file_name.h"
#include "common/text/trim.h"
#include "maintenance/logs/agent_protocol.h"
#include "maintenance/logs/answer_lines.h"
#include "maintenance/logs/response_value.h"

using namespace agent_protocol;

namespace {

constexpr std::string_view kHeadEnd = "\r\n\r\n";
// An answer without a head separator has its body from this byte on, as the protocol fixes it.
constexpr std::size_t kBodyOffsetWithoutHead = 3;

std::string_view bodyOf(std::string_view answer) {
  const std::size_t headEnd = answer.find(kHeadEnd);
  if (headEnd != std::string_view::npos) return answer.substr(headEnd + kHeadEnd.size());
  return answer.size() > kBodyOffsetWithoutHead ? answer.substr(kBodyOffsetWithoutHead) : std::string_view();
}

// Fields 0, 1 and 2 of a TAB-separated line; false when it has fewer than three.
bool splitFields(const std::string& line, AgentLogFile& file) {
  const std::size_t first = line.find('\t');
  if (first == std::string::npos) return false;
  const std::size_t second = line.find('\t', first + 1);
  if (second == std::string::npos) return false;
  const std::size_t third = std::min(line.find('\t', second + 1), line.size());
  file.name = line.substr(0, first);
  file.sizeText = line.substr(first + 1, second - first - 1);
  file.crcText = line.substr(second + 1, third - second - 1);
  return true;
}

void handOutLines(std::string_view body, const std::function<void(const AgentLogFile&)>& onFile) {
  qevForEachAnswerLine(body, kLineSeparators, [&onFile](std::string_view text) {
    const std::string line = qevTrimWhiteSpace(std::string(text));
    AgentLogFile file;
    if (line.size() >= kMinListLine && splitFields(line, file) && qevIsPlainFileName(file.name)) onFile(file);
    return true;
  });
}

}  // namespace

int qevListAgentLogFiles(const AgentSession& session, const std::function<void(const AgentLogFile&)>& onFile) {
  std::string answer;
  std::size_t received = 0;
  if (qevTcpExchange(session.ip, session.port, request(kListCommand, qevSessionParameters(session)), kTextSizeHint,
                     kMaxTextAnswer, session.timeouts, answer, received) != 1) {
    return 0;
  }
  std::string keyword;
  if (!qevGetResponseValue(answer, kKeyword, kLineSeparators, keyword) || keyword != kKeywordValue) return 0;
  const std::string_view body = bodyOf(answer);
  if (body.size() < kMinListBody || body.size() > kMaxListBody) return 0;
  if (onFile) handOutLines(body, onFile);
  return 1;
}
