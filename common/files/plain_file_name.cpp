#include "common/files/plain_file_name.h"

namespace {
constexpr std::size_t kMaxNameBytes = 255;
}  // namespace

bool qevIsPlainFileName(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameBytes || name == "." || name.find("..") != std::string::npos) {
    return false;
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}
