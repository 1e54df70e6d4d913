#pragma once

#include <QString>
#include <QStringList>

// The options of the transfer commands (id, download, upload), read apart
// from running them so a mistake is told before the port is touched.
namespace tunara::cli {

struct Arguments {
    QString port;  // "" only when --port was left out
    bool portGiven = false;
    QString output;
    QString trace;
    QString expect;  // upload --expect FILE
    QStringList files;
    QString problem;
    bool writeAll = false;
    bool noRestorePoint = false;
    bool acceptChanges = false;
};

// Digits alone: a port number (else a device path).
bool isPortNumber(const QString &value);

// Reads `args`; `problem` names the first mistake. -o only where the
// command writes a file; --write-all, --accept-changes and --expect only for
// the upload.
Arguments parse(const QStringList &args, bool takesOutput, bool takesWriteAll = false);

}  // namespace tunara::cli
