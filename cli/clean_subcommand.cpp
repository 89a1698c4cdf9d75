#include <memory>
#include <set>
#include <vector>

#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "common/store/datastore.h"
#include "maintenance/cleaning/clean_request.h"
#include "maintenance/cleaning/cleaning_pass.h"
#include "maintenance/records/record_query.h"

namespace {

constexpr const char* kStoreFailedMessage = "读取数据库时发生错误，请重试！";
// The question of the desktop program's confirmation dialog.
constexpr const char* kCleanQuestion = "确定对选择的目录文件进行清理吗？";

// A list number: decimal digits only, 1 or more.
bool parseNumber(const std::string& text, std::size_t& number) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  number = std::stoul(text);
  return number >= 1;
}

// The checked rows: every row with --all, else the rows with the given numbers, in list order.
bool pickEntries(const ParsedOptions& options, const std::vector<RecordRow>& rows, Terminal& terminal,
                 std::vector<CheckedEntry>& picked) {
  std::set<std::size_t> numbers;
  for (const std::string& operand : options.operands) {
    std::size_t number = 0;
    parseNumber(operand, number);
    if (number > rows.size()) {
      terminal.fail("no entry number " + operand + " in the list (it has " + std::to_string(rows.size()) +
                    " entries; see sorrel list)");
      return false;
    }
    numbers.insert(number);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (options.has("all") || numbers.count(i + 1) != 0) picked.push_back({rows[i].path, rows[i].recordId});
  }
  return true;
}

int rowsStillMarked() {
  std::string count;
  if (qevReadFirstValue("select count(*) as marked from fileinfo where CompactDatabase = '2'", "marked", count) != 1) {
    return 0;
  }
  return std::stoi(count);
}

CleaningPassHooks terminalHooks(Terminal& terminal, TerminalPrompter& prompter) {
  auto total = std::make_shared<int>(0);
  CleaningPassHooks hooks;
  hooks.setProgressRange = [total](int maximum) { *total = maximum; };
  hooks.setProgressPosition = [&terminal, total](int position) {
    terminal.progress("正在清理 " + std::to_string(position) + "/" + std::to_string(*total));
  };
  hooks.isActive = [] { return true; };
  hooks.show = [&prompter](const std::string& text, MessageIcon icon) { prompter.inform(text, icon); };
  hooks.reloadRecords = [] {};
  return hooks;
}

int runClean(const ParsedOptions& options, Terminal& terminal) {
  const bool all = options.has("all");
  if (all == !options.operands.empty()) return qevUsageError(terminal, "give --all or entry NUMBERs, not both");
  for (const std::string& operand : options.operands) {
    std::size_t number = 0;
    if (!parseNumber(operand, number)) return qevUsageError(terminal, "'" + operand + "' is not an entry number");
  }
  std::vector<RecordRow> rows;
  if (qevLoadRecordList(rows) != 1) return terminal.failOnce(kStoreFailedMessage);
  std::vector<CheckedEntry> picked;
  if (!pickEntries(options, rows, terminal, picked)) return kExitFailure;

  TerminalPrompter prompter(terminal, options.has("yes"));
  const auto confirm = [&](const std::vector<std::string>& paths) {
    // The operator sees what the desktop program's confirmation dialog lists.
    if (!options.has("yes") && terminal.canAsk()) {
      for (const std::string& path : paths) terminal.print(path);
    }
    return prompter.askYesNo(kCleanQuestion);
  };
  if (!qevMarkForCleaning(prompter, static_cast<int>(rows.size()), picked, confirm)) {
    return terminal.failOnce("not confirmed; nothing was changed");
  }
  const CleaningPassTime when = qevCleaningPassTimeNow();
  const CleaningPassResult result = qevRunCleaningPass(terminalHooks(terminal, prompter), when.date, when.time);
  for (const std::string& directory : result.backupDirectories) terminal.print("Backup directory: " + directory);
  if (!result.summarized) return terminal.failOnce("the cleaning pass did not run to its end");
  const int marked = rowsStillMarked();
  if (marked > 0) {
    return terminal.failOnce(std::to_string(marked) + " of the entries could not be moved; their rows stay marked");
  }
  return kExitSuccess;
}

}  // namespace

const Subcommand& qevCleanSubcommand() {
  static const Subcommand command{
      "clean",
      "clean [--yes] (--all | NUMBER...)",
      "move recorded entries into the backup tree",
      "Marks the entries with the given list numbers (see sorrel list), or every entry, and moves\n"
      "them in this process, as the desktop program's cleaning does, into\n"
      "<volume root>/qev_dot_file_backup/<date>/<time>/<path below the volume root>. Nothing is\n"
      "deleted. Prints the summary and the backup directories.\n"
      "\n"
      "  -a, --all     every entry of the list\n"
      "  -y, --yes     answer the question with yes (without a terminal it is answered no)\n"
      "  -h, --help    show this help\n",
      {{"all", 'a', false}, {"yes", 'y', false}},
      runClean,
  };
  return command;
}
