#include "cli/cli_main.h"
#include "cli/report_commands.h"

#include <QGuiApplication>

#include <cstdio>
#include <exception>
#include <memory>

int main(int argc, char *argv[])
{
    // Only the report needs fonts and painting: it gets the GUI application
    // (no widgets) on the offscreen platform, so it runs without a display.
    QStringList rawArgs;
    for (int i = 1; i < argc; ++i)
        rawArgs << QString::fromLocal8Bit(argv[i]);
    const bool gui = tunara::cli::needsGuiApplication(rawArgs);
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> appHolder =
        gui ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *appHolder;
    QTextStream out(stdout);
    QTextStream err(stderr);
    tunara::cli::CliStreams io{out, err};
    try {
        const int code = tunara::cli::runCli(app.arguments().mid(1), io);
        out.flush();
        return code;
    } catch (const std::exception &e) {
        // Never end with a crash: whatever slipped through is one line on stderr.
        return tunara::cli::fail(io, QString::fromLocal8Bit(e.what()));
    }
}
