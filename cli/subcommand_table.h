#pragma once
#include <vector>

#include "cli/subcommand.h"

// Every subcommand of sorrel, in the order the program's help lists them. A new subcommand is
// one file that defines its Subcommand and one line in the table.
const std::vector<Subcommand>& qevSubcommands();

const Subcommand& qevScanSubcommand();
const Subcommand& qevListSubcommand();
const Subcommand& qevCleanSubcommand();
const Subcommand& qevRestoreSubcommand();
const Subcommand& qevServersSubcommand();
const Subcommand& qevDownloadSubcommand();
const Subcommand& qevImportSubcommand();
const Subcommand& qevLogsSubcommand();
