#include "cli/sorrel_program.h"

#include "cli/subcommand_table.h"
#include "common/files/exe_dir.h"
#include "common/messages/event_report.h"
#include "common/messages/operator_message.h"
#include "common/platform/files.h"
#include "common/store/datastore.h"

namespace {

constexpr const char* kProgramHelpHead =
    "Usage: sorrel COMMAND [OPTION]... [ARGUMENT]...\n"
    "Finds directory entries whose names Windows path handling cannot reach (con, prn, aux, nul,\n"
    "COM1-9, LPT1-9, such names with an extension, names ending in a dot or a blank), lists them,\n"
    "moves them into a dated backup tree and puts them back: the headless front end of the\n"
    "desktop program, over the same data store and files in its program directory.\n"
    "\n"
    "Commands:\n";

constexpr const char* kProgramHelpTail =
    "\n"
    "Run 'sorrel COMMAND --help' for the options of a command.\n"
    "\n"
    "Exit status: 0 done, 1 the work failed (standard error says why), 2 wrong command line,\n"
    "3 sorrel scan completed and recorded special entries.\n";

const OptionSpec kHelpOption{"help", 'h', false};

std::string programHelp() {
  std::string text = kProgramHelpHead;
  for (const Subcommand& command : qevSubcommands()) {
    std::string line = "  " + command.synopsis;
    if (line.size() < 38) {
      line.resize(38, ' ');
    } else {
      line += "\n" + std::string(38, ' ');
    }
    text += line + command.summary + "\n";
  }
  return text + kProgramHelpTail;
}

// Every command works on the data store. The store is for its owner only (it holds server
// passwords), so a user who is not root would only meet a store error; say what to do instead.
bool storeRefusesThisUser(Terminal& terminal) {
  std::string programDir;
  if (qevGetExeDir(programDir) != 1) return false;
  const std::string store = programDir + "config/" + kDataStoreFileName;
  if (!sorrel::platform::existsWithoutReadWriteAccess(store)) return false;
  terminal.fail(store + " cannot be read and written by this user; run sorrel as root (sudo sorrel ...)");
  return true;
}

const Subcommand* findSubcommand(const std::string& name) {
  for (const Subcommand& command : qevSubcommands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

int runSubcommand(const Subcommand& command, const std::vector<std::string>& arguments, Terminal& terminal) {
  std::vector<OptionSpec> specs = command.options;
  specs.push_back(kHelpOption);
  ParsedOptions options;
  std::string error;
  if (!qevParseOptions(specs, arguments, options, error)) return qevUsageError(terminal, error);
  if (options.has("help")) {
    terminal.write("Usage: sorrel " + command.synopsis + "\n" + command.help);
    return kExitSuccess;
  }
  if (storeRefusesThisUser(terminal)) return kExitFailure;
  // Messages of the foundations (a data store that cannot be opened...) reach the operator too.
  qevSetOperatorMessageHook([&terminal](const std::string& text, MessageIcon icon) {
    if (icon == MessageIcon::Information) {
      terminal.print(text);
    } else {
      terminal.fail(text);
    }
  });
  const int code = command.run(options, terminal);
  qevSetOperatorMessageHook(nullptr);
  return code;
}

}  // namespace

int qevUsageError(Terminal& terminal, const std::string& reason) {
  const std::string see = terminal.command().empty() ? "sorrel --help" : "sorrel " + terminal.command() + " --help";
  terminal.fail(reason + " (see " + see + ")");
  return kExitUsage;
}

int qevRunSorrelWith(const std::vector<std::string>& arguments, const Terminal::Streams& streams) {
  qevSetEventSource("sorrel");
  if (arguments.empty()) {
    Terminal terminal("", streams);
    return qevUsageError(terminal, "missing command");
  }
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h") {
    Terminal(std::string(), streams).write(programHelp());
    return kExitSuccess;
  }
  const Subcommand* command = findSubcommand(first);
  if (command == nullptr) {
    Terminal terminal("", streams);
    const bool option = first.size() > 1 && first[0] == '-';
    return qevUsageError(terminal, (option ? "unrecognized option '" : "unknown command '") + first + "'");
  }
  Terminal terminal(command->name, streams);
  return runSubcommand(*command, {arguments.begin() + 1, arguments.end()}, terminal);
}

int qevRunSorrel(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return qevRunSorrelWith(arguments, Terminal::standardStreams());
}
