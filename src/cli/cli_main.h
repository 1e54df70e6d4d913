#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// Every command tunara-cli knows, in the order --help lists them.
std::vector<CliCommand> allCommands();

// Runs the tool on its arguments (without the program name).
int runCli(const QStringList &args, CliStreams &io);

}  // namespace tunara::cli
