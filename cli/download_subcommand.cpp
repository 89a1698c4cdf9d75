#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "maintenance/logs/download_commands.h"
#include "maintenance/logs/download_state.h"

namespace {

DownloadHooks terminalHooks(Terminal& terminal, Prompter& prompter) {
  DownloadHooks hooks;
  hooks.show = [&prompter](const std::string& text, MessageIcon icon) { prompter.inform(text, icon); };
  hooks.onEvent = [&terminal](const DownloadEvent& event) { terminal.print(qevDownloadEventText(event)); };
  return hooks;
}

std::string summaryText(const DownloadSummary& summary) {
  return "下载结束：" + std::to_string(summary.servers) + " 个服务器，新下载 " + std::to_string(summary.filesFetched) +
         " 个文件，已下载过 " + std::to_string(summary.filesAlreadyFetched) + " 个，失败 " +
         std::to_string(summary.filesFailed) + " 个";
}

// The work failed when a server or a file was left behind; the next run tries them again.
int exitCodeOf(const DownloadSummary& summary, Terminal& terminal) {
  if (!summary.serverListRead || summary.servers == 0) return kExitFailure;  // the operator was told
  std::string failed;
  if (summary.serversFailed > 0) {
    failed = std::to_string(summary.serversFailed) + " of " + std::to_string(summary.servers) +
             " servers could not be reached or listed";
  }
  const int files = summary.filesFailed + summary.filesNotStored;
  if (files > 0) failed += (failed.empty() ? "" : "; ") + std::to_string(files) + " files were not fetched or imported";
  if (failed.empty()) return kExitSuccess;
  return terminal.failOnce(failed + " (listed above; the next download tries them again)");
}

int runDownload(const ParsedOptions& options, Terminal& terminal) {
  if (!options.operands.empty()) return qevUsageError(terminal, "no operands expected");
  TerminalPrompter prompter(terminal, options.has("yes"));
  DownloadState& state = qevDownloadState();
  DownloadSummary summary;
  // The run goes in the foreground: it has ended when the command returns.
  const auto runHere = [&] { summary = qevRunDownloadWorker(state, terminalHooks(terminal, prompter)); };
  const DownloadStart started = options.has("clear") ? qevRunDownloadAgainCommand(prompter, state, runHere)
                                                     : qevRunDownloadCommand(prompter, state, runHere);
  switch (started) {
    case DownloadStart::Started: break;
    case DownloadStart::NotConfirmed: return terminal.failOnce("not confirmed; nothing was downloaded");
    case DownloadStart::Busy: return kExitFailure;  // the operator was told
  }
  if (summary.serverListRead && summary.servers > 0) terminal.print(summaryText(summary));
  return exitCodeOf(summary, terminal);
}

}  // namespace

const Subcommand& qevDownloadSubcommand() {
  static const Subcommand command{
      "download",
      "download [--yes] [--clear]",
      "fetch the new monitor logs of every server and import them",
      "Runs one download in the foreground over every server of the server list, as the desktop\n"
      "program's download does: for each server a session with its log agent, the list of its\n"
      "log files, then every file that was not fetched before, verified, stored in\n"
      "<program directory>/qev_log_file/fmlog as _<ip>_<name>, recorded and imported into the\n"
      "monitor log. Prints a line per server and file and a summary.\n"
      "\n"
      "  -c, --clear  first empty the download records and the monitor log and delete the\n"
      "               downloaded files, so that every listed file is fetched anew\n"
      "  -y, --yes    answer the question with yes (without a terminal it is answered no)\n"
      "  -h, --help   show this help\n"
      "\n"
      "Exit status 1 also when a server could not be reached or a file could not be fetched or\n"
      "imported; the next download tries them again.\n",
      {{"clear", 'c', false}, {"yes", 'y', false}},
      runDownload,
  };
  return command;
}
