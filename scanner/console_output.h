#pragma once
#include <cstdio>
#include <string_view>

// The scanner's console: texts are written as they are (each carries its own "\r\n").
class ConsoleOutput {
 public:
  explicit ConsoleOutput(std::FILE* stream) : stream_(stream) {}
  void print(std::string_view text);
  void flush();

 private:
  std::FILE* stream_;
};
