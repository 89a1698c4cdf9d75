#pragma once
#include <cstddef>
#include <string>

// The fixed texts and bounds of the log agent protocol. A request is "qevkeyword", TAB, the
// command, TAB, then name=value& for each parameter and one TAB at the very end; values are not
// escaped. Answers are text lines separated by runs of CR and LF, except the file answer, which
// is one zlib stream.
namespace agent_protocol {

inline constexpr const char* kKeyword = "qevkeyword";
inline constexpr const char* kKeywordValue = "1000";  // the agent's keyword line must carry exactly this
inline constexpr const char* kLineSeparators = "\r\n";

inline constexpr const char* kSessionCommand = "getsessionid";
inline constexpr const char* kListCommand = "getfilemonlogdir";
inline constexpr const char* kFetchCommand = "getfilemonlogfile";

// What the text answers (session and list) reserve up front.
inline constexpr std::size_t kTextSizeHint = 262'144;
// The list body (after the first "\r\n\r\n") accepted.
inline constexpr std::size_t kMinListBody = 10;
inline constexpr std::size_t kMaxListBody = 10'485'760;
// Room for the head before the body: a text answer is never read beyond kMaxListBody plus this.
inline constexpr std::size_t kMaxAnswerHead = 262'144;
inline constexpr std::size_t kMaxTextAnswer = kMaxAnswerHead + 4 + kMaxListBody;
// A list line shorter than this (after trimming) is no file.
inline constexpr std::size_t kMinListLine = 10;
// Listed sizes that are fetched, and the lengths of the compressed answer accepted; a file answer
// is never read beyond kMaxFileBytes.
inline constexpr long long kMinFileBytes = 10;
inline constexpr long long kMaxFileBytes = 104'857'600;
// Set aside beyond the size hint for an answer, and beyond the listed size for decompression.
inline constexpr std::size_t kAnswerSlack = 1'024;
inline constexpr std::size_t kDecompressSlack = 10;

// The request of a command without parameters, and of one with its "name=value&" parameters.
inline std::string request(const char* command) { return std::string(kKeyword) + "\t" + command + "\t"; }
inline std::string request(const char* command, const std::string& parameters) {
  return request(command) + parameters + "\t";
}

}  // namespace agent_protocol
