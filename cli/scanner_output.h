#pragma once
#include <cstddef>
#include <string>

class Terminal;

// Shows the scanner's console output through sorrel's terminal. The scanner writes every
// message as "\r\n" + text: its lines for every entry visited ("扫描目录 N - ..." and
// "扫描文件 N - ...") become the one updating progress line (nothing in a pipe); the closing
// "请关闭当前窗口..." is left out, as the scanner does not wait here; every other line (banner,
// scan list, summary) is printed, runs of blank lines folded into one.
class ScannerOutput {
 public:
  explicit ScannerOutput(Terminal& terminal) : terminal_(terminal) {}

  void take(const char* bytes, std::size_t count);
  // The rest after the scanner ended.
  void finish();

 private:
  void line(const std::string& text);

  Terminal& terminal_;
  std::string pending_;
  bool printedAny_ = false;
  bool blankPending_ = false;
};
