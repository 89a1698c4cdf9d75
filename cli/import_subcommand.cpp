#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "maintenance/logs/log_reimport.h"

namespace {

bool importFailed(ReimportOutcome outcome) {
  return outcome == ReimportOutcome::NotStored || outcome == ReimportOutcome::Unreadable;
}

int runImport(const ParsedOptions& options, Terminal& terminal) {
  if (!options.operands.empty()) return qevUsageError(terminal, "no operands expected");
  TerminalPrompter prompter(terminal, options.has("yes"));
  int imported = 0;
  int failed = 0;
  ReimportHooks hooks;
  hooks.onFile = [&](const std::string& path, ReimportOutcome outcome) {
    terminal.print(qevReimportOutcomeText(path, outcome));
    imported += outcome == ReimportOutcome::Imported ? 1 : 0;
    failed += importFailed(outcome) ? 1 : 0;
  };
  switch (qevReimportLogFiles(prompter, hooks)) {
    case 1: break;
    case 2: return terminal.failOnce("not confirmed; nothing was imported");
    default: return kExitFailure;  // the operator was told
  }
  terminal.print("重新导入结束：导入 " + std::to_string(imported) + " 个文件，失败 " + std::to_string(failed) + " 个");
  if (failed > 0) return terminal.failOnce(std::to_string(failed) + " files could not be imported (listed above)");
  return kExitSuccess;
}

}  // namespace

const Subcommand& qevImportSubcommand() {
  static const Subcommand command{
      "import",
      "import [--yes]",
      "import the downloaded monitor logs again",
      "Imports again every downloaded log file of <program directory>/qev_log_file/fmlog whose\n"
      "name tells its server (_<ip>_<name>) and whose download record is not marked as imported.\n"
      "Each file's rows replace the rows it gave before, so nothing is counted twice. Prints a\n"
      "line per file.\n"
      "\n"
      "  -y, --yes   answer the question with yes (without a terminal it is answered no)\n"
      "  -h, --help  show this help\n",
      {{"yes", 'y', false}},
      runImport,
  };
  return command;
}
