#include "scanner/file_scan.h"

#include <vector>

#include "common/files/list_file.h"
#include "common/platform/console.h"
#include "common/text/text_codec.h"
#include "scanner/console_texts.h"
#include "scanner/failure_report.h"
#include "scanner/scan_roots.h"
#include "scanner/scan_walk.h"

namespace {

void listScanRoots(ConsoleOutput& console, const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = scanner_text::kScanRootLine + std::to_string(i + 1) + " - " + lines[i];
    console.print("\r\n" + line);
    WriteScannerRunLog(line);
  }
}

void walkRoots(ScanSession& session, const ScanRootTable& roots) {
  for (const RefusedScanRoot& refused : roots.refused()) {
    ReportNotWalked(session, refused.line,
                    refused.tooLong ? scanner_text::kRootTooLong : scanner_text::kRootBeyondLimit);
  }
  for (const ScanRootSlot& slot : roots.slots()) {
    if (slot.used != 1) break;
    // The long form of a path is the absolute path itself; anything else is refused by the walk.
    if (ScanDirectory(session, slot.path) == 1) continue;
    std::string line;
    qevWideToAnsi(slot.path, line);
    ReportNotWalked(session, line, WhyNotWalked(slot.path));
  }
}

}  // namespace

void RunFileScan(ScanSession& session) {
  session.names.build();
  std::vector<std::string> lines;
  qevReadTxtFileLine(scanner_text::kScanListFile, lines);
  ScanRootTable roots;
  roots.fill(lines);
  if (lines.empty()) {
    ReportFailure(session.console, scanner_text::kNoScanDirectory, MessagePlace::First);
    return;
  }
  listScanRoots(session.console, lines);

  session.totals.reset();
  const std::uint32_t startTick = sorrel::platform::tickCountMilliseconds();
  walkRoots(session, roots);
  // Everything recorded is visible before the summary tells the operator the scan is done.
  session.recorder.commit();
  const std::uint32_t endTick = sorrel::platform::tickCountMilliseconds();

  session.console.print(FormatRunSummary(session.totals.snapshot(), endTick - startTick));
  session.console.flush();
  if (session.raiseFlag) session.raiseFlag();
}
