#include "maintenance/report/report_command.h"

#include <string>

#include "common/files/exe_dir.h"
#include "common/files/paths.h"
#include "common/messages/prompter.h"
#include "common/process/process.h"
#include "common/text/ascii_case.h"
#include "maintenance/logs/monitor_log_row.h"
#include "maintenance/report/report_preparation.h"

namespace {

struct Chosen {
  std::vector<std::string> paths;
  std::vector<std::string> keys;
};

Chosen suspiciousRows(const std::vector<ViewRow>& rows, bool checkedOnly) {
  Chosen chosen;
  for (const ViewRow& row : rows) {
    if (checkedOnly && !row.checked) continue;
    if (!qevEqualsIgnoringAsciiCase(row.category, kSuspiciousCategoryText)) continue;
    if (row.path.empty() || row.path.size() > kMaxViewPathBytes) continue;
    chosen.paths.push_back(row.path);
    chosen.keys.push_back(row.key);
  }
  return chosen;
}

}  // namespace

bool qevReportSuspiciousFiles(Prompter& prompter, const std::vector<ViewRow>& rows,
                              const TextsConfirmation& confirm) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) {
    prompter.inform(kExeDirFailedMessage, MessageIcon::Stop);
    return false;
  }
  const std::string sender = qevCollapseSeparators(programDir + "/" + kReportSenderExeName);
  if (qevPathExists(sender) != 1) {
    prompter.inform("文件“" + sender + "”未找到，请重试！", MessageIcon::Question);
    return false;
  }

  Chosen chosen = suspiciousRows(rows, true);
  if (chosen.keys.empty()) {
    if (!prompter.askYesNo(kReportAllQuestion)) return false;
    chosen = suspiciousRows(rows, false);
    if (chosen.keys.empty()) {
      prompter.inform(kReportNothingSuspiciousMessage, MessageIcon::Question);
      return false;
    }
  }
  if (!confirm || !confirm(chosen.paths)) return false;

  int count = 0;
  if (qevPrepareReport(prompter, chosen.keys, count) != 1) {
    prompter.inform(kReportFailedMessage, MessageIcon::Information);
    return false;
  }
  if (count == 0) {
    prompter.inform(kReportAlreadyDoneMessage, MessageIcon::Information);
    return false;
  }
  const bool started = qevRunProgram({sender, kReportSenderArgument}, 0) != 0;
  prompter.inform(started ? kReportStartedMessage : kReportFailedMessage, MessageIcon::Information);
  return started;
}
