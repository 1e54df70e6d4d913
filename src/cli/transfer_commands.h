#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// id, download, upload: the module link from the command line, running the
// same sequences as the window's menu commands.
std::vector<CliCommand> transferCommands();

}  // namespace tunara::cli
