#pragma once
#include <string>

// One entry of the record table: the texts of one list row, as ANSI (UTF-8) strings.
struct RecordRow {
  bool used = false;
  std::string name;      // column 1
  std::string kind;      // column 2
  std::string size;      // column 3
  std::string time;      // column 4, never filled
  std::string state;     // column 5
  std::string path;      // column 6
  std::string recordId;  // column 7, the row's filenameid
};

inline constexpr const char* kBadNameText = "（文件名有错误）";
inline constexpr const char* kFileKindText = "文件";
inline constexpr const char* kDirectoryKindText = "目录";

// A stored name or path (Base64 of UTF-16LE bytes) as ANSI text; "（文件名有错误）" when it decodes
// to nothing or to more than 102,399 bytes, "" when the conversion fails.
std::string qevRecordNameText(const std::string& base64);

// "文件" for filetype "1", "目录" for "2", "（未知）" otherwise.
std::string qevRecordKindText(const std::string& fileType);

// For files: "<n / 1024> KB" when n > 1024, else "<n> B"; "---" for any other kind.
std::string qevRecordSizeText(const std::string& fileType, const std::string& fileSize);
