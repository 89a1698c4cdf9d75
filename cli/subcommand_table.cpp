#include "cli/subcommand_table.h"

const std::vector<Subcommand>& qevSubcommands() {
  static const std::vector<Subcommand> table = {
      qevScanSubcommand(),
      qevListSubcommand(),
      qevCleanSubcommand(),
      qevRestoreSubcommand(),
      qevServersSubcommand(),
      qevDownloadSubcommand(),
      qevImportSubcommand(),
      qevLogsSubcommand(),
  };
  return table;
}
