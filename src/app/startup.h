#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QApplication;

namespace tunara::ui {

// Command-line options of the program.
struct StartOptions {
    // Start the simulated module on a pseudo-terminal and point the selected
    // port number at it (for trying the program without a module).
    bool simulate = false;
    // Save a picture of the splash and of the main window, then leave.
    QString screenshot;
    // How long the splash stays up.
    int splashMs = 4000;
    // Write every byte and pause on the serial line to this file (support).
    QString trace;
    // A data file to open at start-up as "&Open File" opens it.
    QString dataFile;
    // Open the data file straight into "table" (the timing table editor),
    // "parameters" (the module parameters dialog) or "preview" (the print
    // preview), without the "Loaded" message; empty: as "&Open File".
    QString openIn;
    // With the table: compare it with this data file's active table.
    QString compareWith;
    // With the print preview: the report's serial number or comment.
    QString comment;
};

struct ParsedOptions {
    std::optional<StartOptions> options;  // empty: leave with `exitCode`
    QString message;                      // help text or the error
    int exitCode = 0;
};

ParsedOptions parseStartOptions(const QStringList &arguments);

// The start-up procedure: the splash (modal, until its timer closes it),
// then the main window; runs until the main window is closed.
int runTunara(QApplication &app, const StartOptions &options);

}  // namespace tunara::ui
