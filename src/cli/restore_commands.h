#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// restore-points: the images the window kept, newest first.
std::vector<CliCommand> restoreCommands();

}  // namespace tunara::cli
