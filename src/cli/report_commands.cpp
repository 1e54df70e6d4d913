#include "cli/report_commands.h"

#include "charts/report_charts.h"
#include "cli/cli_args.h"
#include "cli/file_commands.h"
#include "core/runtime_error.h"
#include "files/config_file.h"
#include "report/changes_page.h"
#include "report/grid_cells.h"
#include "tables/table_axes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace tunara::cli {

namespace {

const QString ReportName = QStringLiteral("report");

struct ReportArguments {
    QString dataFile;
    QString output;
    QString comment;
    QString company;
    QString compare;  // --compare OTHER.dat: the page of changes from it
    bool companyGiven = false;
};

// Empty when the arguments are right, else what is wrong with them.
QString parseArguments(const QStringList &args, ReportArguments &out)
{
    bool options = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (options && a == QStringLiteral("--")) {
            options = false;
            continue;
        }
        if (!options || !isOption(a)) {
            if (!out.dataFile.isEmpty())
                return QStringLiteral("unexpected argument \"%1\"").arg(a);
            out.dataFile = a;
            continue;
        }
        const bool takesValue = a == QStringLiteral("-o") || a == QStringLiteral("--comment") ||
                                a == QStringLiteral("--company") || a == QStringLiteral("--compare");
        if (takesValue && i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(a);
        if (a == QStringLiteral("-o"))
            out.output = args[++i];
        else if (a == QStringLiteral("--compare"))
            out.compare = args[++i];
        else if (a == QStringLiteral("--comment"))
            out.comment = args[++i];
        else if (a == QStringLiteral("--company")) {
            out.company = args[++i];
            out.companyGiven = true;
        } else
            return QStringLiteral("unknown option \"%1\"").arg(a);
    }
    if (out.dataFile.isEmpty() || out.output.isEmpty())
        return QStringLiteral("report needs a data file and -o REPORT.pdf");
    return {};
}

QString programFile(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

// The company line as the window prints it: CompanyInfo item 1 of the
// configuration file beside the program, unless given.
QString companyName(const ReportArguments &args)
{
    if (args.companyGiven)
        return args.company;
    const config::CompanyConfig company = config::read(programFile(config::fileName()));
    return company.CompanyInfo.value(0, config::defaults().CompanyInfo.value(0));
}

report::ReportInputs reportInputs(const ModuleData &data, const ReportArguments &args)
{
    report::ReportInputs in;
    in.params = data.params;
    in.companyName = companyName(args);
    in.printedAt = report::printedAtText(QDateTime::currentDateTime());
    in.comment = args.comment;
    if (data.params.TimingTable2D)
        in.tableCells = report::gridCells2D(data.tables.table2D);
    else if (data.params.TimingTable3D)
        in.tableCells = report::gridCells3D(data.tables.table3D, data.params.MAPSensor);
    return in;
}

report::ChartPicture chartPicture(const ModuleData &data)
{
    const ModuleParameters &p = data.params;
    if (p.TimingTable2D)
        return charts::chart2DPicture(programFile(axes::template2DFileName()), data.tables.table2D);
    if (p.TimingTable3D)
        return charts::chart3DPicture(programFile(axes::template3DFileName(p.MAPSensor)), data.tables.table3D, p);
    return {};
}

// A data file as the page of changes names it: its name and when it was
// last written.
report::TuneVersion tuneVersion(const QString &path, const ModuleData &data)
{
    const QFileInfo file(path);
    return {file.fileName(), report::printedAtText(file.lastModified()), data.params, data.tables.table2D,
            data.tables.table3D};
}

int reportCommand(const QStringList &argList, CliStreams &io)
{
    ReportArguments args;
    if (const QString wrong = parseArguments(argList, args); !wrong.isEmpty())
        return usageError(io, wrong);
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fail(io, QStringLiteral("report needs the graphical application, which could not be started"));
    try {
        const ModuleData data = openDataFile(args.dataFile);
        const report::ReportInputs in = reportInputs(data, args);
        QStringList inputs{args.dataFile, programFile(config::fileName())};
        report::ReportDocument doc = report::layoutReport(in);
        if (!args.compare.isEmpty()) {
            inputs << args.compare;
            report::appendChangesPage(doc, in, tuneVersion(args.compare, openDataFile(args.compare)),
                                      tuneVersion(args.dataFile, data));
        }
        report::writeReportPdf(args.output, report::defaultPageLayout(), doc, chartPicture(data),
                               inputs);
        return ExitOk;
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
}

}  // namespace

bool needsGuiApplication(const QStringList &args)
{
    return args.value(0) == ReportName;
}

std::vector<CliCommand> reportCommands()
{
    return {
        {ReportName, QStringLiteral("report FILE.dat -o REPORT.pdf [--comment TEXT] [--company NAME] [--compare OTHER.dat]"),
         QStringLiteral("Write the printed report of a data file as a PDF: the active table's chart,\n"
                        "the table and every module parameter; --comment adds the serial line,\n"
                        "--company replaces the company name of the configuration file;\n"
                        "--compare adds a page of what changed from OTHER.dat to FILE.dat."),
         reportCommand},
    };
}

}  // namespace tunara::cli
