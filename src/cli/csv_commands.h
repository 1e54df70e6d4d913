#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// export-csv and import-csv: the active timing table to and from a CSV file.
std::vector<CliCommand> csvCommands();

}  // namespace tunara::cli
