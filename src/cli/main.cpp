#include "cli/cli_main.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
