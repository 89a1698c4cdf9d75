#include "scanner/scanner_entry.h"

#include <strings.h>

#include <cstdio>

#include "common/files/paths.h"
#include "common/messages/event_report.h"
#include "common/messages/operator_message.h"
#include "common/platform/console.h"
#include "common/platform/system.h"
#include "common/store/datastore.h"
#include "scanner/console_output.h"
#include "scanner/console_texts.h"
#include "scanner/failure_report.h"
#include "scanner/file_scan.h"
#include "scanner/recorder.h"
#include "scanner/scan_session.h"

namespace {

constexpr std::size_t kMinPathBytes = 3;
constexpr std::size_t kMaxPathBytes = 260;

std::string repeated(const char* piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

void printBanner(ConsoleOutput& console) {
  const std::string line = repeated(scanner_text::kHeavyLine, scanner_text::kBannerWidth);
  console.print("\r\n");
  console.print("\r\n┏" + line + "┓");
  console.print(scanner_text::kBannerTitle);
  console.print("\r\n┗" + line + "┛");
  console.print("\r\n\r\n\r\n");
}

bool endsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         strcasecmp(text.c_str() + (text.size() - suffix.size()), suffix.c_str()) == 0;
}

bool withinPathBounds(const std::string& path) {
  return path.size() >= kMinPathBytes && path.size() <= kMaxPathBytes;
}

int waitAndExit(ConsoleOutput& console, int exitCode) {
  console.flush();
  sorrel::platform::waitForOneKey();
  return exitCode;
}

int runAfterChecks(ConsoleOutput& console) {
  if (qevExecuteSql("delete from fileinfo") != 1) {
    ReportFailure(console, scanner_text::kStoreFailed, MessagePlace::Second);
    return waitAndExit(console, 0);
  }
  try {
    ScanSession session(console, RaiseRefreshFlag);
    RunFileScan(session);
  } catch (...) {
    // The run is over either way; the operator still gets the key wait.
  }
  return waitAndExit(console, 1);
}

int runScanner(ConsoleOutput& console, int argc, const char* const* argv) {
  if (const char* failure = CheckScannerArguments(argc, argv)) {
    ReportFailure(console, failure, MessagePlace::First);
    return waitAndExit(console, 0);
  }
  WriteScannerRunLog(repeated(scanner_text::kHeavyLine, scanner_text::kRunLogSeparatorLength));
  printBanner(console);

  std::string modulePath;
  if (!sorrel::platform::executablePath(modulePath)) {
    ReportFailure(console, scanner_text::kModuleNameFailed, MessagePlace::Second);
    return waitAndExit(console, 0);
  }
  if (!IsScannerModulePath(modulePath)) {
    // Not this program: leave without a trace.
    console.flush();
    return 0;
  }
  return runAfterChecks(console);
}

}  // namespace

const char* CheckScannerArguments(int argc, const char* const* argv) {
  if (argc != 2) return scanner_text::kNoArgument;
  if (argv == nullptr || argv[1] == nullptr) return scanner_text::kNullArgument;
  if (strcasecmp(argv[1], scanner_text::kCommand) != 0) return scanner_text::kUnknownCommand;
  return nullptr;
}

bool IsScannerModulePath(const std::string& modulePath) {
  if (!withinPathBounds(modulePath)) return false;
  if (!endsWithIgnoringCase(modulePath, scanner_text::kProgramName)) return false;
  const std::size_t slash = modulePath.rfind('/');
  if (slash == std::string::npos) return false;
  return withinPathBounds(qevCollapseSeparators(modulePath.substr(0, slash) + "/"));
}

int RunScanner(int argc, const char* const* argv) {
  ConsoleOutput console(stdout);
  qevSetEventSource(scanner_text::kProgramName);
  // Messages of the shared code (a store that cannot be found...) appear on the console.
  qevSetOperatorMessageHook([&console](const std::string& text, MessageIcon) {
    console.print("\r\n" + text);
  });
  const int exitCode = runScanner(console, argc, argv);
  qevSetOperatorMessageHook(nullptr);
  return exitCode;
}
