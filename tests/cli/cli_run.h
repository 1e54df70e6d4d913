#pragma once

#include "cli/cli_main.h"

#include <QFile>

// Runs tunara-cli in-process and keeps what it printed; the link runs on
// `clock` when one is given, else on the machine's.
struct CliRun {
    int code;
    QString out;
    QString err;
};

inline CliRun runInProcess(const QStringList &args, tunara::link::LinkClock *clock = nullptr)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    tunara::cli::CliStreams io{o, e};
    io.clock = clock;
    const int code = tunara::cli::runCli(args, io);
    o.flush();
    e.flush();
    return {code, out, err};
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
