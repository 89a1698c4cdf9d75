#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "common/platform/system.h"
#include "maintenance/restore/restore_command.h"

namespace {

RestoreHooks terminalHooks(Terminal& terminal) {
  RestoreHooks hooks;
  hooks.onItem = [&terminal](const RestoreItem& item) {
    if (item.outcome == RestoreOutcome::Restored) {
      terminal.progress(qevRestoreItemText(item));
    } else {
      terminal.print(qevRestoreItemText(item));
    }
  };
  return hooks;
}

int runRestore(const ParsedOptions& options, Terminal& terminal) {
  if (options.operands.size() != 1) {
    return qevUsageError(terminal, options.operands.empty() ? "missing BACKUP_DIR" : "give one BACKUP_DIR only");
  }
  std::string directory = options.operands.front();
  if (directory.empty() || directory.front() != '/') {
    std::string current;
    if (!sorrel::platform::currentDirectory(current)) {
      return terminal.failOnce("the current directory cannot be read; give BACKUP_DIR as an absolute path");
    }
    directory = (current == "/" ? current : current + "/") + directory;
  }
  const bool dryRun = options.has("dry-run");
  TerminalPrompter prompter(terminal, options.has("yes"));
  RestoreResult result;
  switch (qevRunRestoreCommand(prompter, directory, dryRun, terminalHooks(terminal), result)) {
    case 1: break;
    case 2: return terminal.failOnce("not confirmed; nothing was changed");
    default: return kExitFailure;  // the operation told why
  }
  terminal.print(qevRestoreSummaryText(result, dryRun));
  const unsigned left = result.placeTaken + result.notMoved;
  if (!dryRun && left > 0) {
    return terminal.failOnce(std::to_string(left) + " of the entries stay in the backup tree (listed above)");
  }
  return kExitSuccess;
}

}  // namespace

const Subcommand& qevRestoreSubcommand() {
  static const Subcommand command{
      "restore",
      "restore [--yes] [--dry-run] BACKUP_DIR",
      "put the entries of a backup directory back",
      "Moves every entry below BACKUP_DIR, a backup directory of one cleaning pass\n"
      "(<volume root>/qev_dot_file_backup/<date>/<time>), back to the same path below its volume\n"
      "root, and gives the recorded entries that come back their state \"未处理\" again. An entry\n"
      "whose place is taken stays in the backup tree and is listed; directories left empty in the\n"
      "backup tree are removed. Links are moved as links and never followed; nothing is replaced.\n"
      "A restore that was interrupted is finished by running it again.\n"
      "\n"
      "  -n, --dry-run  list what would move and change nothing\n"
      "  -y, --yes      answer the question with yes (without a terminal it is answered no)\n"
      "  -h, --help     show this help\n",
      {{"dry-run", 'n', false}, {"yes", 'y', false}},
      runRestore,
  };
  return command;
}
