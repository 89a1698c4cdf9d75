#include "maintenance/records/record_row.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/text/base64.h"
#include "common/text/text_codec.h"

namespace {

constexpr std::size_t kMaxDecodedNameBytes = 102399;

// The stored size is an unsigned 64-bit count: its leading decimal digits, saturating; a value
// that does not start with a digit (a sign included) counts as 0.
std::uint64_t leadingCount(const std::string& text) {
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) return UINT64_MAX;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::string qevRecordNameText(const std::string& base64) {
  std::vector<unsigned char> bytes(qevBase64DecodedSize(base64.c_str()));
  const std::size_t count = qevBase64Decode(base64.c_str(), bytes.data());
  if (count == 0 || count > kMaxDecodedNameBytes) return kBadNameText;
  std::string ansi;
  qevWideToAnsi(qevFromUtf16LeBytes(bytes.data(), count - count % 2), ansi);
  return ansi;
}

std::string qevRecordKindText(const std::string& fileType) {
  if (fileType == "1") return kFileKindText;
  if (fileType == "2") return kDirectoryKindText;
  return "（未知）";
}

std::string qevRecordSizeText(const std::string& fileType, const std::string& fileSize) {
  if (fileType != "1") return "---";
  const std::uint64_t bytes = leadingCount(fileSize);
  if (bytes > 1024) return std::to_string(bytes / 1024) + " KB";
  return std::to_string(bytes) + " B";
}
