#include "support/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/text/text_codec.h"

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::u16string wide(const std::string& path) {
  std::u16string result;
  EXPECT_EQ(qevAnsiToWide(path, result), 1) << path;
  return result;
}
