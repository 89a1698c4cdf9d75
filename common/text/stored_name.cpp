#include "common/text/stored_name.h"

#include <vector>

#include "common/text/base64.h"
#include "common/text/text_codec.h"

std::string qevEncodeStoredName(const std::u16string& wide) {
  if (wide.empty()) return {};
  const std::string bytes = qevUtf16LeBytes(wide);
  std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  const std::size_t written = qevBase64Encode(reinterpret_cast<const unsigned char*>(bytes.data()),
                                              bytes.size(), text.data());
  text.resize(written - 1);
  return text;
}

bool qevDecodeStoredName(const std::string& base64, std::u16string& wide) {
  wide.clear();
  if (base64.empty()) return false;
  std::vector<unsigned char> bytes(qevBase64DecodedSize(base64.c_str()) + 1);
  const std::size_t count = qevBase64Decode(base64.c_str(), bytes.data());
  if (count == 0 || count % 2 != 0) return false;
  wide = qevFromUtf16LeBytes(bytes.data(), count);
  return true;
}
