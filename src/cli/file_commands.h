#pragma once

#include "cli/cli_command.h"
#include "module/module_data.h"

namespace tunara::cli {

// decode, decode --json, resave.
std::vector<CliCommand> fileCommands();

// Opens a data file as the program's open command does: fills the image,
// marks it loaded and decodes it. Throws RuntimeError with a one-line reason
// (including a short file and a file that is recognisably something else).
ModuleData openDataFile(const QString &path);

// The readable listing and the JSON object of a decoded image.
QString describe(const ModuleData &data);
QByteArray toJson(const ModuleData &data);

}  // namespace tunara::cli
