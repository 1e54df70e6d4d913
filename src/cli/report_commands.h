#pragma once

#include "cli/cli_command.h"

namespace tunara::cli {

// report FILE.dat -o REPORT.pdf [--comment TEXT] [--company NAME]
std::vector<CliCommand> reportCommands();

// The command that needs the GUI application (fonts, painting): the tool
// starts one, on the offscreen platform, only for it.
bool needsGuiApplication(const QStringList &args);

}  // namespace tunara::cli
