#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// diff and check: two configurations compared as the program reads them,
// and what opening and saving one file would change.
std::vector<CliCommand> compareCommands();

}  // namespace tunara::cli
