#include "cli/scanner_output.h"

#include "cli/terminal.h"
#include "scanner/console_texts.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

// A scanner text without the "\r\n" it starts with.
std::string withoutLineEnd(const char* text) {
  const std::string whole = text;
  return whole.compare(0, 2, kLineEnd) == 0 ? whole.substr(2) : whole;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

void ScannerOutput::take(const char* bytes, std::size_t count) {
  pending_.append(bytes, count);
  std::size_t end;
  while ((end = pending_.find(kLineEnd)) != std::string::npos) {
    line(pending_.substr(0, end));
    pending_.erase(0, end + 2);
  }
}

void ScannerOutput::finish() {
  if (!pending_.empty()) line(pending_);
  pending_.clear();
}

void ScannerOutput::line(const std::string& text) {
  static const std::string progressFile = withoutLineEnd(scanner_text::kProgressFile);
  static const std::string progressDirectory = withoutLineEnd(scanner_text::kProgressDirectory);
  static const std::string closeWindow = withoutLineEnd(scanner_text::kCloseWindow);
  if (startsWith(text, progressFile) || startsWith(text, progressDirectory)) {
    terminal_.progress(text);
    return;
  }
  if (text == closeWindow) return;
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
    blankPending_ = printedAny_;
    return;
  }
  if (blankPending_) terminal_.print("");
  blankPending_ = false;
  terminal_.print(text);
  printedAny_ = true;
}
