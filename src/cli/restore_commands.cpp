#include "cli/restore_commands.h"

#include "cli/file_commands.h"
#include "cli/json_number.h"
#include "compare/difference_summary.h"
#include "core/runtime_error.h"
#include "files/restore_points.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace tunara::cli {

namespace {

struct RestoreArgs {
    QString folder;
    QString against;
    bool json = false;
    // One change at most: --keep, --unkeep or --note.
    QString change;
    QString point;
    QString note;
    QString error;
};

RestoreArgs parseRestoreArgs(const QStringList &args)
{
    RestoreArgs a;
    const auto value = [&](qsizetype &k, QString &into) {
        if (k + 1 >= args.size() || !into.isEmpty())
            a.error = QStringLiteral("%1 needs one value").arg(args[k]);
        else
            into = args[++k];
    };
    for (qsizetype k = 0; k < args.size() && a.error.isEmpty(); ++k) {
        const QString &arg = args[k];
        if (arg == QStringLiteral("--folder")) {
            value(k, a.folder);
        } else if (arg == QStringLiteral("--against")) {
            value(k, a.against);
        } else if (arg == QStringLiteral("--json")) {
            a.json = true;
        } else if (arg == QStringLiteral("--keep") || arg == QStringLiteral("--unkeep") ||
                   arg == QStringLiteral("--note")) {
            if (!a.change.isEmpty() || k + (arg == QStringLiteral("--note") ? 2 : 1) >= args.size()) {
                a.error = arg == QStringLiteral("--note") ? QStringLiteral("--note needs PATH and TEXT, once")
                                                          : QStringLiteral("%1 needs one PATH, once").arg(arg);
                break;
            }
            a.change = arg;
            a.point = args[++k];
            if (arg == QStringLiteral("--note"))
                a.note = args[++k];
        } else if (arg == QStringLiteral("--") && k + 1 == args.size()) {
            break;  // ends the options; this verb takes no file
        } else {
            a.error = QStringLiteral("unknown argument \"%1\"").arg(arg);
        }
    }
    if (a.error.isEmpty() && !a.change.isEmpty() && (a.json || !a.against.isEmpty()))
        a.error = QStringLiteral("%1 takes only --folder").arg(a.change);
    return a;
}

// A field of the text listing: cut to width (with "..."), then padded.
QString column(const QString &text, int width)
{
    const QString cut = text.size() > width ? text.left(width - 3) + QStringLiteral("...") : text;
    return cut.leftJustified(width);
}

// The point against the file, or nothing when the point cannot be read.
std::optional<compare::DifferenceSummary> against(const restore::Entry &e, const std::optional<ModuleData> &file)
{
    if (!file || !e.readable())
        return std::nullopt;
    const ModuleData point = restore::decodePoint(e.bytes);
    return compare::summarise(compare::diffImages(point, *file), point, *file);
}

void printText(CliStreams &io, const restore::Entry &e, const std::optional<ModuleData> &file)
{
    io.out << e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  " << column(restore::eventText(e.event), 20)
           << "  " << column(e.source.text(), 40) << "  " << column(e.firmwareText(), 22) << "  "
           << e.tableMode.leftJustified(4) << "  " << (e.kept ? "kept" : "    ") << "  "
           << column(restore::noteLine(e.note), 30) << "  ";
    if (file) {
        const auto summary = against(e, file);
        io.out << column(summary ? summary->text() : QStringLiteral("cannot read"), 36) << "  ";
    }
    io.out << e.path;
    if (!e.readable())
        io.out << "  (cannot read: " << e.problem << ')';
    io.out << '\n';
}

QJsonObject pointJson(const restore::Entry &e, const std::optional<ModuleData> &file)
{
    const QDateTime time = e.time.toOffsetFromUtc(e.time.offsetFromUtc());
    QJsonObject point{{"path", e.path},
                      {"time", time.toString(Qt::ISODateWithMs)},
                      {"event", restore::eventText(e.event)},
                      {"source", e.source.text()},
                      {"firmware", e.firmware},
                      {"table", e.tableMode},
                      {"note", e.note},
                      {"kept", e.kept}};
    if (file) {
        const auto summary = against(e, file);
        point.insert(QStringLiteral("against"),
                     summary ? QJsonValue(QJsonObject{{"parameters", summary->parameters},
                                                      {"cells", summary->cells},
                                                      {"largest", gridValue(summary->largest)},
                                                      // Bytes outside the parameters and the running
                                                      // table: without them a differing image would
                                                      // read as the same.
                                                      {"otherBytes", summary->otherBytes}})
                             : QJsonValue(QJsonValue::Null));
    }
    if (!e.readable())
        point.insert(QStringLiteral("problem"), e.problem);
    return point;
}

// Writes {"points": [...]} as QJsonDocument indents it, one point at a
// time: a listing never holds more than one point's text.
class JsonListing {
public:
    explicit JsonListing(QTextStream &out) : m_out(out) { m_out << "{\n    \"points\": ["; }
    void add(const QJsonObject &point)
    {
        QByteArray text = QJsonDocument(point).toJson(QJsonDocument::Indented);
        text.chop(1);  // the closing line's end
        text.replace("\n", "\n        ");
        m_out << (m_first ? "\n        " : ",\n        ") << QString::fromUtf8(text);
        m_first = false;
    }
    void end() { m_out << "\n    ]\n}\n"; }

private:
    QTextStream &m_out;
    bool m_first = true;
};

int changePoint(const RestoreArgs &a, restore::RestorePoints &store, CliStreams &io)
{
    try {
        if (a.change == QStringLiteral("--note")) {
            store.setNote(a.point, a.note);
            io.out << (restore::normalisedNote(a.note).isEmpty() ? "Note removed: " : "Note kept: ") << a.point << '\n';
        } else {
            const bool keep = a.change == QStringLiteral("--keep");
            store.setKept(a.point, keep);
            io.out << (keep ? QStringLiteral("Kept for good (never pruned, not counted among the newest %1): ")
                                  .arg(restore::RestorePoints::Kept)
                            : QStringLiteral("No longer kept for good: "))
                   << a.point << '\n';
        }
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
    io.out.flush();
    return ExitOk;
}

int restorePointsCommand(const QStringList &args, CliStreams &io)
{
    const RestoreArgs a = parseRestoreArgs(args);
    if (!a.error.isEmpty())
        return usageError(io, QStringLiteral("restore-points: %1").arg(a.error));
    restore::RestorePoints store(a.folder);
    if (!a.change.isEmpty())
        return changePoint(a, store, io);
    std::optional<ModuleData> file;
    if (!a.against.isEmpty()) {
        try {
            file = openDataFile(a.against);
        } catch (const RuntimeError &e) {
            return fail(io, e.description());
        }
    }
    const auto problems = [&io](const QStringList &found) {
        for (const QString &problem : found)
            io.err << "tunara-cli: " << problem << '\n';
        io.err.flush();
    };
    bool any = false;
    if (a.json) {
        JsonListing listing(io.out);
        store.eachEntry(problems, [&](const restore::Entry &e) { listing.add(pointJson(e, file)); });
        listing.end();
    } else {
        store.eachEntry(problems, [&](const restore::Entry &e) {
            printText(io, e, file);
            any = true;
        });
        if (!any)
            io.out << "No restore points in " << store.folder() << '\n';
    }
    io.out.flush();
    return ExitOk;
}

}  // namespace

std::vector<CliCommand> restoreCommands()
{
    return {{QStringLiteral("restore-points"),
             QStringLiteral("restore-points [--folder DIR] [--against FILE.dat] [--json]\n"
                            "  restore-points [--folder DIR] --keep PATH | --unkeep PATH | --note PATH TEXT"),
             QStringLiteral(
                 "List the images the window kept as restore points, newest first: time, event, where the\n"
                 "image came from, firmware, table mode, kept for good, note and file. --against FILE.dat\n"
                 "adds how each point differs from FILE.dat (parameters, table cells, largest change);\n"
                 "--json prints one object {\"points\": [...]}. --keep PATH keeps a point for good (never\n"
                 "pruned, not counted among the newest %1), --unkeep PATH undoes that, --note PATH TEXT\n"
                 "sets the point's note (\"\" removes it). Each file opens like any data file.")
                 .arg(restore::RestorePoints::Kept),
             restorePointsCommand}};
}

}  // namespace tunara::cli
