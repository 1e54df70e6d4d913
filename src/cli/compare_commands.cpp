#include "cli/compare_commands.h"

#include "cli/cli_args.h"
#include "cli/file_commands.h"
#include "compare/difference_summary.h"
#include "compare/image_check.h"
#include "compare/image_diff.h"
#include "compare/image_regions.h"
#include "core/runtime_error.h"
#include "tables/table_axes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace tunara::cli {

namespace {

using namespace tunara::compare;

// diff and check answer 0 or 1; trouble of any kind is 2, as diff(1) does.
constexpr int ExitTrouble = 2;

int trouble(CliStreams &io, const QString &message)
{
    fail(io, message);
    return ExitTrouble;
}

// Advances are whole degrees minus whole steps of 0.0879: four decimals are exact.
double exact(double degrees)
{
    return std::round(degrees * 10000.0) / 10000.0;
}

QString degreesText(double degrees)
{
    return QString::number(exact(degrees), 'f', 4);
}

QString hexText(int byte)
{
    return QStringLiteral("0x") + QString::number(byte, 16).toUpper().rightJustified(2, u'0');
}

QJsonValue jsonValue(const ParameterField &f)
{
    if (const bool *b = std::get_if<bool>(&f.value))
        return *b;
    return std::get<int>(f.value);
}

QString plural(size_t count, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

// --- diff -----------------------------------------------------------------

struct Sides {
    const ModuleData &a;
    const ModuleData &b;
};

QString mapLabels(const Sides &s, int gridRow)
{
    const int la = axes::pressureLabel(s.a.params.MAPSensor, gridRow);
    const int lb = axes::pressureLabel(s.b.params.MAPSensor, gridRow);
    return la == lb ? QString::number(la) : QStringLiteral("%1/%2").arg(la).arg(lb);
}

QString cellPlace(const CellDifference &c, const Sides &s)
{
    const QString speed = QStringLiteral("%1 RPM (point %2)").arg(axes::rpmAtPoint(c.point)).arg(c.point);
    if (c.pressureIndex == 0)
        return speed;
    const int row = axes::gridRowOfPressureIndex(c.pressureIndex);
    return QStringLiteral("MAP %1 (row %2), %3").arg(mapLabels(s, row)).arg(row).arg(speed);
}

QString normalisedWhat(const ByteDifference &d, const Sides &s)
{
    switch (roleOf(d.address)) {
    case ByteRole::Reserved:
        return QStringLiteral("reserved, saved as 0");
    case ByteRole::Parameter:
        for (const ParameterField &f : parameterFields(s.a.params)) {
            if (f.address == d.address)
                return QStringLiteral("%1, read alike").arg(QLatin1String(f.name));
        }
        break;
    case ByteRole::Table2D:
    case ByteRole::Table3D:
        return QStringLiteral("table cell, read alike");
    case ByteRole::Carried:
        break;
    }
    return QString();
}

QString diffSummary(const ImageDiff &d)
{
    if (d.identical())
        return QStringLiteral("the files are identical");
    QString text;
    if (d.sameAsRead()) {
        text = QStringLiteral("equal as the program reads them");
    } else {
        text = QStringLiteral("%1, %2, %3 and %4 differ")
                   .arg(plural(d.parameters.size(), QStringLiteral("parameter"), QStringLiteral("parameters")),
                        plural(d.cells2D.size(), QStringLiteral("2D cell"), QStringLiteral("2D cells")),
                        plural(d.cells3D.size(), QStringLiteral("3D cell"), QStringLiteral("3D cells")),
                        plural(d.carriedBytes.size(), QStringLiteral("carried byte"), QStringLiteral("carried bytes")));
    }
    if (!d.normalisedBytes.empty())
        text += QStringLiteral("; %1 only where the program normalises")
                    .arg(plural(d.normalisedBytes.size(), QStringLiteral("byte differs"), QStringLiteral("bytes differ")));
    return text;
}

void section(QString &text, const QString &heading, const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    text += heading + u'\n';
    for (const QString &line : lines)
        text += QStringLiteral("  ") + line + u'\n';
}

QString cellLine(const CellDifference &c, const Sides &s)
{
    return QStringLiteral("%1: %2 -> %3 deg (%4)")
        .arg(cellPlace(c, s), degreesText(c.a), degreesText(c.b), degreesText(c.difference()));
}

QString diffText(const ImageDiff &d, const Sides &s)
{
    QStringList params, cells2D, cells3D, carried, normalised;
    for (const ParameterDifference &p : d.parameters)
        params << parameterChangeText(p);
    for (const CellDifference &c : d.cells2D)
        cells2D << cellLine(c, s);
    for (const CellDifference &c : d.cells3D)
        cells3D << cellLine(c, s);
    for (const ByteDifference &b : d.carriedBytes)
        carried << QStringLiteral("byte %1: %2 -> %3").arg(b.address).arg(hexText(b.a), hexText(b.b));
    for (const ByteDifference &b : d.normalisedBytes)
        normalised << QStringLiteral("byte %1 (%2): %3 -> %4").arg(b.address).arg(normalisedWhat(b, s), hexText(b.a), hexText(b.b));
    QString text;
    section(text, QStringLiteral("Parameters:"), params);
    section(text, QStringLiteral("2D table, advance in degrees (difference):"), cells2D);
    section(text, QStringLiteral("3D table, advance in degrees (difference):"), cells3D);
    section(text, QStringLiteral("Bytes carried through unread:"), carried);
    section(text, QStringLiteral("Bytes that differ only where the program normalises:"), normalised);
    return text + QStringLiteral("Summary: ") + diffSummary(d) + u'\n';
}

QJsonObject cellJson(const CellDifference &c, const Sides &s)
{
    QJsonObject o{{"point", c.point}, {"rpm", axes::rpmAtPoint(c.point)}, {"a", exact(c.a)}, {"b", exact(c.b)},
                  {"difference", exact(c.difference())}};
    if (c.pressureIndex > 0) {
        const int row = axes::gridRowOfPressureIndex(c.pressureIndex);
        o["pressureIndex"] = c.pressureIndex;
        o["gridRow"] = row;
        o["pressureLabelA"] = axes::pressureLabel(s.a.params.MAPSensor, row);
        o["pressureLabelB"] = axes::pressureLabel(s.b.params.MAPSensor, row);
    }
    return o;
}

QByteArray diffJson(const ImageDiff &d, const Sides &s)
{
    QJsonArray params, cells2D, cells3D, carried, normalised;
    for (const ParameterDifference &p : d.parameters)
        params.append(QJsonObject{{"name", QLatin1String(p.a.name)}, {"a", jsonValue(p.a)}, {"b", jsonValue(p.b)}});
    for (const CellDifference &c : d.cells2D)
        cells2D.append(cellJson(c, s));
    for (const CellDifference &c : d.cells3D)
        cells3D.append(cellJson(c, s));
    for (const ByteDifference &b : d.carriedBytes)
        carried.append(QJsonObject{{"address", b.address}, {"a", b.a}, {"b", b.b}});
    for (const ByteDifference &b : d.normalisedBytes)
        normalised.append(QJsonObject{{"address", b.address}, {"a", b.a}, {"b", b.b}, {"what", normalisedWhat(b, s)}});
    const QJsonObject root{{"identical", d.identical()}, {"sameAsRead", d.sameAsRead()}, {"parameters", params},
                           {"table2D", cells2D}, {"table3D", cells3D}, {"carriedBytes", carried},
                           {"normalisedBytes", normalised}, {"summary", diffSummary(d)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

int diffCommand(const QStringList &args, CliStreams &io)
{
    const FileArgs parsed = parseFileArgs(args, true, false);
    if (!parsed.error.isEmpty() || parsed.files.size() != 2) {
        usageError(io, parsed.error.isEmpty() ? QStringLiteral("diff needs exactly two data files") : parsed.error);
        return ExitTrouble;
    }
    try {
        const ModuleData a = openDataFile(parsed.files[0]);
        const ModuleData b = openDataFile(parsed.files[1]);
        const ImageDiff d = diffImages(a, b);
        const Sides sides{a, b};
        io.out << (parsed.json ? QString::fromUtf8(diffJson(d, sides)) : diffText(d, sides));
        return d.identical() ? ExitOk : ExitFailure;
    } catch (const RuntimeError &e) {
        return trouble(io, e.description());
    }
}

// --- check ----------------------------------------------------------------

QString checkSummary(const CheckReport &r, const QString &path)
{
    const size_t changes = size_t(std::count_if(r.items.begin(), r.items.end(), [](const CheckItem &i) { return i.changesFile; }));
    const size_t notes = r.items.size() - changes;
    const QString outcome = r.resaveChangesFile ? QStringLiteral("opening and saving %1 would change it").arg(path)
                                                : QStringLiteral("opening and saving %1 gives the same bytes").arg(path);
    return QStringLiteral("%1, %2; %3")
        .arg(plural(changes, QStringLiteral("change"), QStringLiteral("changes")),
             plural(notes, QStringLiteral("table note"), QStringLiteral("table notes")), outcome);
}

QString checkText(const CheckReport &r, const QString &path)
{
    QString text;
    for (const CheckItem &item : r.items)
        text += (item.changesFile ? QStringLiteral("change: ") : QStringLiteral("note: ")) + item.text + u'\n';
    return text + QStringLiteral("Summary: ") + checkSummary(r, path) + u'\n';
}

QByteArray checkJson(const CheckReport &r, const QString &path)
{
    QJsonArray items;
    for (const CheckItem &item : r.items) {
        items.append(QJsonObject{{"kind", kindName(item.kind)}, {"changesFile", item.changesFile},
                                 {"text", item.text}, {"address", item.address},
                                 {"stored", exact(item.stored)}, {"after", exact(item.after)}});
    }
    const QJsonObject root{{"resaveChangesFile", r.resaveChangesFile}, {"items", items},
                           {"summary", checkSummary(r, path)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

int checkCommand(const QStringList &args, CliStreams &io)
{
    const FileArgs parsed = parseFileArgs(args, true, false);
    if (!parsed.error.isEmpty() || parsed.files.size() != 1) {
        usageError(io, parsed.error.isEmpty() ? QStringLiteral("check needs exactly one data file") : parsed.error);
        return ExitTrouble;
    }
    try {
        const QString &path = parsed.files[0];
        const CheckReport report = checkImage(openDataFile(path).image);
        io.out << (parsed.json ? QString::fromUtf8(checkJson(report, path)) : checkText(report, path));
        return report.resaveChangesFile ? ExitFailure : ExitOk;
    } catch (const RuntimeError &e) {
        return trouble(io, e.description());
    }
}

}  // namespace

std::vector<CliCommand> compareCommands()
{
    return {
        {QStringLiteral("diff"), QStringLiteral("diff [--json] A.dat B.dat"),
         QStringLiteral("Compare two data files as the program reads them: every parameter, every cell of\n"
                        "both tables (A -> B) and the bytes carried through unread; bytes that differ only\n"
                        "where the program normalises are listed apart. Exit 0 when the files are\n"
                        "identical, 1 when they differ, 2 on an error."),
         diffCommand},
        {QStringLiteral("check"), QStringLiteral("check [--json] FILE.dat"),
         QStringLiteral("List what opening and saving the file would change (limited parameters, dropped\n"
                        "flag bits, reserved bytes, both table flags) and notes on the active table (cells\n"
                        "outside the advance window, a region of zeros). Exit 0 when a resave gives the\n"
                        "same bytes, 1 when it would change them, 2 on an error."),
         checkCommand},
    };
}

}  // namespace tunara::cli
