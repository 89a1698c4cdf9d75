#include "maintenance/records/record_preview.h"

#include <algorithm>
#include <vector>

#include "common/files/long_path.h"
#include "common/store/datastore.h"
#include "common/text/base64.h"
#include "common/text/text_codec.h"
#include "maintenance/records/record_row.h"

namespace {

constexpr std::size_t kMaxRecordIdLength = 1023;
constexpr std::size_t kMaxDecodedPathBytes = 102399;
constexpr const char* kGap = "\r\n\r\n\r\n";

std::string trimmed(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && blank(text[begin])) ++begin;
  while (end > begin && blank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string unreadableFileText(const std::string& path) {
  return std::string(kGap) + "读取文件“" + path + "”失败，可能文件已被改名，文件不存在、或无法读取此文件，请重试！" + kGap +
         "下一步，请点“校验日志文件”复查此文件是否存在。";
}

// Every byte below 0x20 but tab, line feed and carriage return becomes a blank; bytes from 0x80
// up stay, so multibyte text survives.
void blankControlBytes(char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') bytes[i] = ' ';
  }
}

// The long path stored for the record, decoded; false with the preview text to show instead.
bool storedLongPath(const std::string& recordId, const std::string& shownPath, std::u16string& longPath,
                    std::string& failureText) {
  std::string stored;
  if (qevReadLatestValue("fileinfo", "filenameid", recordId, "id", "filepath", stored) != 1) {
    failureText = std::string(kGap) + "读取文件记录失败，请重试！";
    return false;
  }
  std::vector<unsigned char> bytes(qevBase64DecodedSize(stored.c_str()));
  const std::size_t count = qevBase64Decode(stored.c_str(), bytes.data());
  if (count == 0 || count > kMaxDecodedPathBytes) {
    failureText = std::string(kGap) + "读取文件“" + shownPath + "”的完整文件名时发生错误，请重试！";
    return false;
  }
  longPath = qevFromUtf16LeBytes(bytes.data(), count - count % 2);
  return true;
}

}  // namespace

std::string qevRecordPreviewText(const std::string& path, const std::string& kind, const std::string& recordId) {
  if (kind != kFileKindText) return std::string(kGap) + "当前选择的目录名是“" + path + "”";
  const std::string id = trimmed(recordId);
  if (id.empty() || id.size() > kMaxRecordIdLength) return {};

  std::u16string longPath;
  std::string failureText;
  if (!storedLongPath(id, path, longPath, failureText)) return failureText;

  std::uint64_t size = 0;
  if (qevGetPathInfo(longPath, size) != 1) return unreadableFileText(path);
  if (size == 0 || size > kMaxPreviewBytes) return {};

  std::vector<char> buffer(size + 20, '\0');
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;
  if (qevReadWholeFile(longPath, buffer.data(), size + 10, bytesRead, fileSize) != 1) return unreadableFileText(path);
  const std::size_t shown = static_cast<std::size_t>(std::min(bytesRead, size));
  blankControlBytes(buffer.data(), shown);

  std::string preview;
  preview.reserve(shown + path.size() + 256);
  preview += "\r\n文件名：“" + path + "”\r\n\r\n" + std::string(153, '-') + "\r\n\r\n";
  preview.append(buffer.data(), shown);
  return preview;
}
