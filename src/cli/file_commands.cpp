#include "cli/file_commands.h"
#include "cli/cli_args.h"

#include "cli/cli_args.h"
#include "cli/json_number.h"

#include "core/numbers.h"
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "module/parameter_codec.h"
#include "image/parameter_fields.h"
#include "tables/table_axes.h"

namespace tunara::cli {

namespace {

// The parameter list is the domain's, so decode, diff and check name the
// parameters alike.
using Field = ParameterField;

std::vector<Field> fieldsOf(const ModuleParameters &p)
{
    return parameterFields(p);
}

QString cell(const QString &text, int width = 6)
{
    return text.rightJustified(width);
}

QString speedHeading(const QString &corner)
{
    QString line = corner.leftJustified(8);
    for (int p = 1; p <= SpeedPoints; ++p)
        line += cell(QString::number(axes::rpmAtPoint(p)));
    return line;
}

QString table2DText(const Table2D &t)
{
    QString line = QStringLiteral("ADV").leftJustified(8);
    for (int p = 1; p <= SpeedPoints; ++p)
        line += cell(numbers::format(t(p, 1), QStringLiteral("#0.0")));
    return speedHeading(QStringLiteral("RPM")) + u'\n' + line + u'\n';
}

QString table3DText(const Table3D &t, std::uint8_t mapSensor)
{
    QString text = speedHeading(QStringLiteral("MAP/RPM")) + u'\n';
    for (int row = 1; row <= PressureRows; ++row) {
        const int m = axes::pressureIndexOfGridRow(row);
        QString line = QString::number(axes::pressureLabel(mapSensor, row)).leftJustified(8);
        for (int p = 1; p <= SpeedPoints; ++p)
            line += cell(numbers::format(t(p, m), QStringLiteral("#0.0")));
        text += line + u'\n';
    }
    return text;
}

int decodeCommand(const QStringList &args, CliStreams &io)
{
    const FileArgs parsed = parseFileArgs(args, true, false);
    if (!parsed.error.isEmpty())
        return usageError(io, parsed.error);
    if (parsed.files.size() != 1)
        return usageError(io, QStringLiteral("decode needs exactly one data file"));
    try {
        const ModuleData data = openDataFile(parsed.files[0]);
        if (parsed.json)
            io.out << toJson(data) << '\n';
        else
            io.out << describe(data);
        return ExitOk;
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
}

int resaveCommand(const QStringList &args, CliStreams &io)
{
    const FileArgs parsed = parseFileArgs(args, false, false);
    if (!parsed.error.isEmpty())
        return usageError(io, parsed.error);
    if (parsed.files.size() != 2)
        return usageError(io, QStringLiteral("resave needs an input and an output data file"));
    try {
        ModuleData data = openDataFile(parsed.files[0]);
        UpdateEEPROM(data);
        // Never over the input, however it is spelt.
        datafile::write(parsed.files[1], data.image, {parsed.files[0]});
        return ExitOk;
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
}

}  // namespace

int fail(CliStreams &io, const QString &message)
{
    io.err << "tunara-cli: " << message << '\n';
    io.err.flush();
    return ExitFailure;
}

int usageError(CliStreams &io, const QString &message)
{
    fail(io, message + QStringLiteral(" (see tunara-cli --help)"));
    return ExitUsage;
}

ModuleData openDataFile(const QString &path)
{
    datafile::Loaded loaded = datafile::load(
        path, QStringLiteral("import it with tunara-cli import-csv FILE.dat TABLE.csv -o OUT.dat"));
    switch (loaded.outcome) {
    case datafile::Loaded::Outcome::Loaded:
        return std::move(loaded.data);
    case datafile::Loaded::Outcome::Unreadable:
        throw *loaded.error;
    case datafile::Loaded::Outcome::NotADataFile:
        throw RuntimeError(FileErrorNumber, QStringLiteral("Data File"), loaded.refusal);
    case datafile::Loaded::Outcome::Short:
        break;
    }
    throw RuntimeError(FileErrorNumber, QStringLiteral("Data File"), path + QStringLiteral(": ") + loaded.refusal);
}

QString describe(const ModuleData &data)
{
    QString text = QStringLiteral("Module parameters\n");
    for (const Field &f : fieldsOf(data.params))
        text += QStringLiteral("  %1 %2\n").arg(QString::fromLatin1(f.name).leftJustified(22), parameterValueText(f));
    text += u'\n';
    const ModuleParameters &p = data.params;
    if (p.TimingTable3D) {
        text += QStringLiteral("Timing table: 3D advance map (degrees), MAP sensor %1\n").arg(mapSensorName(p.MAPSensor));
        text += table3DText(data.tables.table3D, p.MAPSensor);
    } else if (p.TimingTable2D) {
        text += QStringLiteral("Timing table: 2D advance curve (degrees)\n");
        text += table2DText(data.tables.table2D);
    } else {
        text += QStringLiteral("Timing table: disabled (neither the 2D nor the 3D table is selected)\n");
    }
    return text;
}

QByteArray toJson(const ModuleData &data)
{
    QByteArray json = "{";
    for (const Field &f : fieldsOf(data.params)) {
        json += "\n  \"" + QByteArray(f.name) + "\": ";
        if (const bool *b = std::get_if<bool>(&f.value))
            json += *b ? "true" : "false";
        else
            json += QByteArray::number(std::get<int>(f.value));
        json += ',';
    }
    json += "\n  \"Table2D\": [";
    for (int p = 1; p <= SpeedPoints; ++p) {
        const Table2D &t = data.tables.table2D;
        json += (p > 1 ? ", [" : "[") + jsonNumber(t(p, 1)) + ", " + jsonNumber(t(p, 2)) + ']';
    }
    json += "],\n  \"Table3D\": [";
    for (int p = 1; p <= SpeedPoints; ++p) {
        json += p > 1 ? ",\n    [" : "\n    [";
        for (int m = 1; m <= PressureRows; ++m)
            json += (m > 1 ? ", " : "") + jsonNumber(data.tables.table3D(p, m));
        json += ']';
    }
    json += "\n  ]\n}";
    return json;
}

std::vector<CliCommand> fileCommands()
{
    return {
        {QStringLiteral("decode"), QStringLiteral("decode [--json] FILE.dat"),
         QStringLiteral("List every module parameter and the active timing table of a data file;\n"
                        "with --json, print one JSON object (parameters, \"Table2D\", \"Table3D\")."),
         decodeCommand},
        {QStringLiteral("resave"), QStringLiteral("resave IN.dat OUT.dat"),
         QStringLiteral("Open IN as the program does and save it unchanged to OUT (264 bytes;\n"
                        "the parameter block normalised, the table regions kept)."),
         resaveCommand},
    };
}

}  // namespace tunara::cli
