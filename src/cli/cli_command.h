#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace tunara::link {
class LinkClock;
}

namespace tunara::cli {

// Exit codes of tunara-cli.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

struct CliStreams {
    QTextStream &out;
    QTextStream &err;
    // Set when a failure was reported after the command's own outcome (a
    // trace file that could not be completed): the exit status is then 1
    // even if the command returned 0.
    bool lateFailure = false;
    // The time the link's pauses and reply deadlines run on; null: the machine's.
    link::LinkClock *clock = nullptr;
};

// One subcommand: its name, a usage line, a line of help, and the action,
// which gets the arguments after the name and returns the exit code.
struct CliCommand {
    QString name;
    QString usage;
    QString summary;
    std::function<int(const QStringList &args, CliStreams &io)> run;
};

// Prints "tunara-cli: <message>" on the error stream and returns ExitFailure.
int fail(CliStreams &io, const QString &message);
// Prints the message with a pointer to --help and returns ExitUsage.
int usageError(CliStreams &io, const QString &message);

}  // namespace tunara::cli
