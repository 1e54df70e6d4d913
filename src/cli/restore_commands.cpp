#include "cli/restore_commands.h"

#include "files/restore_points.h"

namespace tunara::cli {

namespace {

int restorePointsCommand(const QStringList &args, CliStreams &io)
{
    QString folder;
    for (qsizetype k = 0; k < args.size(); ++k) {
        if (args[k] == QStringLiteral("--folder") && k + 1 < args.size())
            folder = args[++k];
        else if (args[k] == QStringLiteral("--") && k + 1 == args.size())
            break;  // ends the options; this verb takes no file
        else
            return usageError(io, QStringLiteral("restore-points takes only --folder DIR"));
    }
    const restore::RestorePoints store(folder);
    const QList<restore::Entry> entries = store.list();
    if (entries.isEmpty()) {
        io.out << "No restore points in " << store.folder() << '\n';
        io.out.flush();
        return ExitOk;
    }
    for (const restore::Entry &e : entries) {
        io.out << e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
               << restore::eventText(e.event).leftJustified(16) << "  "
               << (e.firmware.isEmpty() ? QStringLiteral("unknown") : e.firmware).leftJustified(22) << "  "
               << e.tableMode.leftJustified(4) << "  " << e.path << '\n';
    }
    io.out.flush();
    return ExitOk;
}

}  // namespace

std::vector<CliCommand> restoreCommands()
{
    return {{QStringLiteral("restore-points"), QStringLiteral("restore-points [--folder DIR]"),
             QStringLiteral("List the images the window kept as restore points, newest first: time, event,\n"
                            "firmware, table mode and file. Each file opens like any data file."),
             restorePointsCommand}};
}

}  // namespace tunara::cli
