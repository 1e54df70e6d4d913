#include "cli/cli_main.h"

#include "cli/compare_commands.h"
#include "cli/csv_commands.h"
#include "cli/file_commands.h"
#include "cli/report_commands.h"
#include "cli/restore_commands.h"
#include "cli/transfer_commands.h"
#include "core/version.h"

namespace tunara::cli {

namespace {

void printHelp(QTextStream &out, const std::vector<CliCommand> &commands)
{
    out << "Usage: tunara-cli COMMAND [ARGUMENTS]\n\n"
           "Reads, checks and transfers Torvik-1 Zoruro configuration data without the window.\n"
           "Exit status: 0 on success, 1 on failure, 2 on wrong arguments.\n\nCommands:\n";
    for (const CliCommand &c : commands) {
        out << "  " << c.usage << '\n';
        for (const QString &line : c.summary.split(u'\n'))
            out << "      " << line << '\n';
    }
    out << "\n  --\n      Ends a command's options: every argument after it is a file name.\n";
    out << "  --help\n      Show this text.\n";
    out << "  --version\n      Print the version.\n";
}

}  // namespace

std::vector<CliCommand> allCommands()
{
    std::vector<CliCommand> commands = fileCommands();
    // Further command groups are appended here.
    for (CliCommand &c : transferCommands())
        commands.push_back(std::move(c));
    for (CliCommand &c : compareCommands())
        commands.push_back(std::move(c));
    for (CliCommand &c : csvCommands())
        commands.push_back(std::move(c));
    for (CliCommand &c : reportCommands())
        commands.push_back(std::move(c));
    for (CliCommand &c : restoreCommands())
        commands.push_back(std::move(c));
    return commands;
}

int runCli(const QStringList &args, CliStreams &io)
{
    const std::vector<CliCommand> commands = allCommands();
    if (args.isEmpty())
        return usageError(io, QStringLiteral("no command given"));
    if (args[0] == QStringLiteral("--help") || args[0] == QStringLiteral("-h") || args[0] == QStringLiteral("help")) {
        printHelp(io.out, commands);
        return ExitOk;
    }
    if (args[0] == QStringLiteral("--version")) {
        io.out << "tunara-cli " << programVersion() << '\n';
        return ExitOk;
    }
    for (const CliCommand &c : commands) {
        if (c.name == args[0]) {
            const int code = c.run(args.mid(1), io);
            return code == ExitOk && io.lateFailure ? ExitFailure : code;
        }
    }
    return usageError(io, QStringLiteral("unknown command \"%1\"").arg(args[0]));
}

}  // namespace tunara::cli
