#include "scanner/console_output.h"

void ConsoleOutput::print(std::string_view text) {
  if (stream_ == nullptr || text.empty()) return;
  std::fwrite(text.data(), 1, text.size(), stream_);
}

void ConsoleOutput::flush() {
  if (stream_ != nullptr) std::fflush(stream_);
}
