#include <vector>

#include "cli/scanner_output.h"
#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "common/files/exe_dir.h"
#include "common/messages/operator_message.h"
#include "common/platform/process.h"
#include "common/platform/system.h"
#include "common/store/datastore.h"
#include "common/text/trim.h"
#include "maintenance/scan/scan_launch.h"
#include "maintenance/scan/scan_list.h"

namespace {

constexpr const char* kStoreFailedMessage = "读取数据库时发生错误，请重试！";

// Whether a running scanner is waited for or ended is the operator's choice. Without a terminal
// nobody can make it, and the desktop program's question has its destructive answer on No:
// here it gets the answer that keeps the running scan.
class RunningScanPrompter : public Prompter {
 public:
  RunningScanPrompter(TerminalPrompter& prompter, Terminal& terminal) : prompter_(prompter), terminal_(terminal) {}

  PromptAnswer prompt(const std::string& text, MessageIcon icon, PromptButtons buttons) override {
    if (buttons == PromptButtons::Ok) return prompter_.prompt(text, icon, buttons);
    asked_ = true;
    answer_ = terminal_.canAsk() ? prompter_.prompt(text, icon, buttons) : qevPositiveAnswer(buttons);
    return answer_;
  }

  bool asked() const { return asked_; }
  bool keptRunning() const { return answer_ == PromptAnswer::Yes; }

 private:
  TerminalPrompter& prompter_;
  Terminal& terminal_;
  bool asked_ = false;
  PromptAnswer answer_ = PromptAnswer::No;
};

bool hasDirectoryLine(const std::string& list) { return !qevTrimWhiteSpace(list).empty(); }

// The scan list text of the directories named on the command line, made absolute.
bool scanListOf(const std::vector<std::string>& directories, std::string& text) {
  std::string current;
  for (const std::string& directory : directories) {
    if (directory.empty() || directory.front() != '/') {
      if (current.empty() && !sorrel::platform::currentDirectory(current)) return false;
      text += (current == "/" ? current : current + "/") + directory + "\r\n";
    } else {
      text += directory + "\r\n";
    }
  }
  return true;
}

// The scan list to use: the given directories saved first, else the saved list. False after a
// failure line.
bool prepareScanList(const ParsedOptions& options, Prompter& prompter, Terminal& terminal,
                     const std::string& programDir) {
  if (options.operands.empty()) {
    if (hasDirectoryLine(qevLoadScanList())) return true;
    terminal.fail("no directory to scan: name them (sorrel scan DIR...) or list them in " + programDir +
                  "config/ScanDir.txt");
    return false;
  }
  std::string text;
  if (!scanListOf(options.operands, text)) {
    terminal.fail("the current directory cannot be read; name the directories with absolute paths");
    return false;
  }
  std::string saved;
  return qevSaveScanList(prompter, text, saved) == ScanListSave::Saved;
}

int recordedRows(int& rows) {
  std::string count;
  if (qevReadFirstValue("select count(*) as recorded from fileinfo", "recorded", count) != 1) return 0;
  rows = std::stoi(count);
  return 1;
}

int runScan(const ParsedOptions& options, Terminal& terminal) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) return terminal.failOnce(kExeDirFailedMessage);
  TerminalPrompter prompter(terminal, false);
  RunningScanPrompter runningScan(prompter, terminal);
  if (!qevNoScannerRunning(runningScan, programDir)) {
    if (!runningScan.asked()) return terminal.failOnce("the process list cannot be read");
    return terminal.failOnce(runningScan.keptRunning()
                                 ? "a scan is already running; wait for it to finish, then scan again"
                                 : "the running scan was ended; nothing was started");
  }
  if (!prepareScanList(options, prompter, terminal, programDir)) return kExitFailure;
  qevWithdrawCleaningRequest();
  const std::string scanner = qevVerifiedScannerPath(prompter, programDir);
  if (scanner.empty()) return kExitFailure;

  ScannerOutput output(terminal);
  int exitCode = -1;
  const bool started = sorrel::platform::runCollectingOutput(
      {scanner, "/FileScan"}, [&output](const char* bytes, std::size_t count) { output.take(bytes, count); },
      exitCode);
  output.finish();
  if (!started) return terminal.failOnce(qevScannerStartFailedMessage(scanner + " /FileScan"));
  // The scanner answers 1 for a completed run, 0 when it could not start its work.
  if (exitCode != 1) {
    return terminal.failOnce("the scanner did not complete its run (exit status " + std::to_string(exitCode) + ")");
  }
  int rows = 0;
  if (recordedRows(rows) != 1) return terminal.failOnce(kStoreFailedMessage);
  return rows > 0 ? kExitSpecialEntries : kExitSuccess;
}

}  // namespace

const Subcommand& qevScanSubcommand() {
  static const Subcommand command{
      "scan",
      "scan [DIR]...",
      "scan the website directories for special entries",
      "With DIRs, replaces the scan list (config/ScanDir.txt) with them first, as the desktop\n"
      "program's scan dialog saves it. Then runs the scanner over the list and waits for it: its\n"
      "progress as one line on a terminal (nothing in a pipe), then its summary. Each scan first\n"
      "empties the recorded entries.\n"
      "\n"
      "  -h, --help    show this help\n"
      "\n"
      "Exit status: 0 nothing special found, 3 special entries were recorded (see sorrel list),\n"
      "1 the scan did not run or did not complete, 2 wrong command line.\n",
      {},
      runScan,
  };
  return command;
}
