#include "cli/csv_commands.h"

#include "cli/cli_args.h"
#include "cli/file_commands.h"
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "files/table_csv.h"
#include "module/parameter_codec.h"
#include "tables/table_codec.h"

namespace tunara::cli {

namespace {

// The active table of an opened file; throws when the file selects none.
bool activeIs3D(const ModuleData &data, const QString &path)
{
    if (data.params.TimingTable3D)
        return true;
    if (data.params.TimingTable2D)
        return false;
    throw RuntimeError(FileErrorNumber, QStringLiteral("CSV File"),
                       path + QStringLiteral(": the timing table is disabled (neither the 2D nor the 3D table is selected)"));
}

// The active table replaced by the CSV and encoded into the image, or the
// CSV's first problem.
std::optional<csv::Problem> importInto(ModuleData &data, bool is3D, const QByteArray &bytes)
{
    const int trig = data.params.TrigTiming;
    if (is3D) {
        auto result = tablecsv::read3D(bytes, trig, data.params.MAPSensor);
        if (const auto *p = std::get_if<csv::Problem>(&result))
            return *p;
        data.tables.table3D = std::get<Table3D>(result);
        encodeTable3D(data.tables.table3D, trig, data.image);
    } else {
        auto result = tablecsv::read2D(bytes, trig);
        if (const auto *p = std::get_if<csv::Problem>(&result))
            return *p;
        data.tables.table2D = std::get<Table2D>(result);
        encodeTable2D(data.tables.table2D, trig, data.image);
    }
    return std::nullopt;
}

// What an import of the exported CSV into the same file would do, said
// before the user finds out: refused cells, or cells stored differently.
void warnAboutRoundTrip(const ModuleData &data, bool is3D, const QByteArray &bytes, CliStreams &io)
{
    ModuleData copy = data;
    if (const auto problem = importInto(copy, is3D, bytes)) {
        io.err << "tunara-cli: warning: an import of this CSV would be refused (" << problem->text()
               << "); see tunara-cli check\n";
        return;
    }
    int changed = 0;
    for (int a = ModuleImage::FirstTransferAddress; a <= ModuleImage::LastTransferAddress; ++a)
        changed += copy.image.EEPROMBuffer[a] != data.image.EEPROMBuffer[a];
    if (changed > 0)
        io.err << "tunara-cli: warning: an import of this CSV would store " << changed
               << " table bytes differently (cells the program reads other than stored); see tunara-cli check\n";
}

std::optional<int> checkArgs(const FileArgs &parsed, int files, const QString &usage, CliStreams &io)
{
    if (!parsed.error.isEmpty())
        return usageError(io, parsed.error);
    if (parsed.files.size() != files)
        return usageError(io, usage);
    if (outputIsAnInput(parsed))
        return usageError(io, QStringLiteral("the output file must not be one of the input files"));
    return std::nullopt;
}

int exportCommand(QStringList args, CliStreams &io)
{
    // --semicolon: the form a spreadsheet in a decimal-comma locale writes.
    const csv::Dialect dialect = args.removeAll(QStringLiteral("--semicolon")) > 0 ? csv::SemicolonComma : csv::CommaPoint;
    const FileArgs parsed = parseFileArgs(args, false, true);
    if (auto code = checkArgs(parsed, 1, QStringLiteral("export-csv needs one data file and -o TABLE.csv"), io))
        return *code;
    try {
        const QString &path = parsed.files[0];
        const ModuleData data = openDataFile(path);
        const bool is3D = activeIs3D(data, path);
        const int trig = data.params.TrigTiming;
        const QByteArray bytes = is3D ? tablecsv::write3D(data.tables.table3D, trig, data.params.MAPSensor, dialect)
                                      : tablecsv::write2D(data.tables.table2D, trig, dialect);
        tablecsv::writeFile(parsed.output, bytes, parsed.files);
        warnAboutRoundTrip(data, is3D, bytes, io);
        return ExitOk;
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
}

int importCommand(const QStringList &args, CliStreams &io)
{
    const FileArgs parsed = parseFileArgs(args, false, true);
    if (auto code = checkArgs(parsed, 2, QStringLiteral("import-csv needs a data file, a CSV file and -o OUT.dat"), io))
        return *code;
    try {
        const QString &path = parsed.files[0];
        const QString &csvPath = parsed.files[1];
        ModuleData data = openDataFile(path);
        const bool is3D = activeIs3D(data, path);
        const QByteArray bytes = tablecsv::readFile(csvPath);
        const tablecsv::ImportAdvice advice{QStringLiteral("give that CSV file to import-csv"),
                                            QStringLiteral("give it as FILE.dat, the first file of import-csv")};
        if (const auto refusal = tablecsv::notCsvText(csvPath, bytes, advice))
            return fail(io, *refusal);
        if (const auto problem = importInto(data, is3D, bytes))
            return fail(io, csvPath + QStringLiteral(": ") + problem->text());
        // Saved as the program saves a file: the parameter block encoded too.
        UpdateEEPROM(data);
        datafile::write(parsed.output, data.image, parsed.files);
        return ExitOk;
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
}

}  // namespace

std::vector<CliCommand> csvCommands()
{
    return {
        {QStringLiteral("export-csv"), QStringLiteral("export-csv [--semicolon] FILE.dat -o TABLE.csv"),
         QStringLiteral("Write the file's active timing table as CSV in the grid's layout (heading row of\n"
                        "RPM, pressure labels in the first column for 3D), decimal point, comma separated;\n"
                        "--semicolon: semicolon separated with a decimal comma, as a spreadsheet in a\n"
                        "decimal-comma locale writes it. Warns when an import of it would not give back\n"
                        "the same bytes."),
         exportCommand},
        {QStringLiteral("import-csv"), QStringLiteral("import-csv FILE.dat TABLE.csv -o OUT.dat"),
         QStringLiteral("Replace the file's active timing table with the CSV's and save the result to OUT\n"
                        "as the program saves a file. Reads commas with decimal points, semicolons with\n"
                        "decimal commas, or tabs. Refuses (naming row and column) a wrong shape,\n"
                        "heading or label, text that is not a number, and cells outside the advance window."),
         importCommand},
    };
}

}  // namespace tunara::cli
