#include "scanner/failure_report.h"

#include "common/files/run_log.h"
#include "common/messages/event_report.h"
#include "scanner/console_output.h"
#include "scanner/console_texts.h"

std::string WithoutLeadingLineBreak(const char* consoleText) {
  std::string text = consoleText;
  if (text.rfind("\r\n", 0) == 0) text.erase(0, 2);
  return text;
}

void WriteScannerRunLog(const std::string& text) {
  qevWriteRunLog(text, "", kScannerRunLog, kRunLogLimit);
}

void ReportFailure(ConsoleOutput& console, const char* consoleText, MessagePlace place) {
  console.print(consoleText);
  const std::string message = WithoutLeadingLineBreak(consoleText);
  if (place == MessagePlace::First) {
    qevReportEvent(message.c_str(), "", "");
  } else {
    qevReportEvent(scanner_text::kProgramName, message.c_str(), "");
  }
  WriteScannerRunLog(message);
}
