#include <vector>

#include "cli/subcommand_table.h"
#include "cli/terminal.h"
#include "cli/terminal_prompter.h"
#include "cli/text_table.h"
#include "maintenance/logs/server_edits.h"
#include "maintenance/logs/server_store.h"

namespace {

constexpr const char* kStoreFailedMessage = "读取数据库时发生错误，请重试！";

// The labels of the server list's password fields.
constexpr const char* kPasswordLabel = "密码:";
constexpr const char* kRepeatedPasswordLabel = "重复密码:";

// The columns of the server list; the password is never shown.
const std::vector<TextColumn> kColumns = {{"序号", true}, {"IP", false}, {"端口", true}, {"用户名", false}, {"备注", false}};

int listServers(Terminal& terminal) {
  std::vector<ServerRow> rows;
  if (qevLoadServerRows(rows) != 1) return terminal.failOnce(kStoreFailedMessage);
  std::vector<std::vector<std::string>> cells;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    cells.push_back({std::to_string(i + 1), rows[i].ip, rows[i].port, rows[i].username, rows[i].remark});
  }
  for (const std::string& line : qevTextTableLines(kColumns, cells)) terminal.print(line);
  return kExitSuccess;
}

// The password comes from standard input, never from the command line: asked twice without
// echo on a terminal, else the first line of the input stands for both fields.
void readPassword(Terminal& terminal, ServerFields& fields) {
  if (terminal.canAsk()) {
    fields.password = terminal.askSecret(kPasswordLabel);
    fields.repeatedPassword = terminal.askSecret(kRepeatedPasswordLabel);
  } else {
    fields.password = terminal.readLine();
    fields.repeatedPassword = fields.password;
  }
}

int exitCodeOf(ServerEdit edit, Terminal& terminal) {
  switch (edit) {
    case ServerEdit::Done: return kExitSuccess;
    case ServerEdit::NotConfirmed: return terminal.failOnce("not confirmed; nothing was changed");
    default: return kExitFailure;  // the edit told why
  }
}

int addServer(const ParsedOptions& options, Terminal& terminal) {
  if (options.operands.size() != 4) return qevUsageError(terminal, "add takes IP PORT USER");
  ServerFields fields;
  fields.ip = options.operands[1];
  fields.port = options.operands[2];
  fields.username = options.operands[3];
  fields.remark = options.value("remark");
  readPassword(terminal, fields);
  TerminalPrompter prompter(terminal, options.has("yes"));
  return exitCodeOf(qevAddServer(prompter, fields, nullptr), terminal);
}

int deleteServer(const ParsedOptions& options, Terminal& terminal) {
  if (options.operands.size() != 2) return qevUsageError(terminal, "delete takes one IP");
  TerminalPrompter prompter(terminal, options.has("yes"));
  return exitCodeOf(qevDeleteServer(prompter, options.operands[1], nullptr), terminal);
}

int deleteAllServers(const ParsedOptions& options, Terminal& terminal) {
  if (options.operands.size() != 1) return qevUsageError(terminal, "unexpected argument '" + options.operands[1] + "'");
  TerminalPrompter prompter(terminal, options.has("yes"));
  return exitCodeOf(qevDeleteAllServers(prompter, nullptr), terminal);
}

int runServers(const ParsedOptions& options, Terminal& terminal) {
  if (options.operands.empty()) return qevUsageError(terminal, "missing action (list, add, delete or delete-all)");
  const std::string& action = options.operands.front();
  if (options.has("remark") && action != "add") return qevUsageError(terminal, "--remark belongs to add");
  if (action == "list") {
    if (options.operands.size() != 1) return qevUsageError(terminal, "unexpected argument '" + options.operands[1] + "'");
    return listServers(terminal);
  }
  if (action == "add") return addServer(options, terminal);
  if (action == "delete") return deleteServer(options, terminal);
  if (action == "delete-all") return deleteAllServers(options, terminal);
  return qevUsageError(terminal, "unknown action '" + action + "'");
}

}  // namespace

const Subcommand& qevServersSubcommand() {
  static const Subcommand command{
      "servers",
      "servers list | add IP PORT USER [--remark TEXT] | delete IP [--yes] | delete-all [--yes]",
      "the web servers whose log agents the logs come from",
      "Keeps the server list of the data store, as the desktop program's server list does:\n"
      "\n"
      "  list                     number, IP, port, user name and remark (never the password)\n"
      "  add IP PORT USER         adds a server; the password is read from standard input: asked\n"
      "                           twice without echo on a terminal, else the first input line\n"
      "  delete IP                deletes the server with that IP, after a question\n"
      "  delete-all               deletes every server, after a question\n"
      "\n"
      "  -r, --remark TEXT  the remark of the added server\n"
      "  -y, --yes          answer the question with yes (without a terminal it is answered no)\n"
      "  -h, --help         show this help\n",
      {{"remark", 'r', true}, {"yes", 'y', false}},
      runServers,
  };
  return command;
}
