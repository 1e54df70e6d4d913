// File > the report commands: printer set-up, printing, preview, PDF.
#include "app/commands/report_commands.h"

#include "app/commands/file_dialogs.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "dialogs/error_dialog.h"
#include "editor/table_session.h"
#include "charts/report_charts.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "module/module_document.h"
#include "report/grid_cells.h"
#include "tables/table_axes.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace tunara::ui {

namespace {

const QString PrintSetupTitle = QStringLiteral("Printer Setup");
const QString PrintTableTitle = QStringLiteral("Print Parameters And Timing Table");
const QString PreviewTitle = QStringLiteral("Print Preview");
const QString ExportTitle = QStringLiteral("Export Report as PDF");

// The report on a printer, or on the printer's own print-to-file.
void printReport(QPrinter &printer, const report::ReportDocument &doc, const report::ChartPicture &chart)
{
    const QString target = printer.outputFormat() == QPrinter::PdfFormat
                               ? QStringLiteral("the file %1").arg(QDir::toNativeSeparators(printer.outputFileName()))
                               : QStringLiteral("the printer \"%1\"").arg(printer.printerName());
    report::paintReport(printer, target, doc, chart);
}

}  // namespace

ReportCommands::ReportCommands(const WindowContext &window, QString companyName, QObject *parent)
    : QObject(parent),
      m_window(window),
      m_companyName(std::move(companyName))
{
    const MainActions &actions = window.actions;
    connect(actions.printSetup, &QAction::triggered, this, &ReportCommands::mnuPrintSetup_Click);
    connect(actions.printTable, &QAction::triggered, this, &ReportCommands::mnuPrintTable_Click);
    connect(actions.printPreview, &QAction::triggered, this, &ReportCommands::mnuPrintPreview_Click);
    connect(actions.exportPdf, &QAction::triggered, this, &ReportCommands::mnuExportPdf_Click);
    // A serial number belongs to one module's image: another file or
    // module must not go out under it.
    connect(&window.document, &ModuleDocument::imageReplaced, this, [this] { m_lastComment.clear(); });
}

ReportCommands::~ReportCommands() = default;

QPrinter &ReportCommands::printer()
{
    // Made at first use: setting a printer up asks the printing system,
    // which the window's start need not wait for.
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPageLayout(report::defaultPageLayout());
        m_printer->setDocName(QStringLiteral("Torvik-1 Zoruro Ignition Module Data"));
    }
    return *m_printer;
}

QString ReportCommands::programFile(const QString &name) const
{
    return QDir(m_window.programFolder).filePath(name);
}

bool ReportCommands::printerReady(const QString &title)
{
    // A printer chosen to print into a file needs no installed printer.
    const bool printsToFile = !printer().outputFileName().isEmpty();
    if (printsToFile || !m_window.ui.installedPrinters().isEmpty())
        return true;
    const Answer answer = m_window.ui.messageBox(
        m_window.shell.dialogParent(),
        QStringLiteral("No printer is installed on this computer.\n\nExport the report as a PDF file instead?"), title,
        Buttons::YesNo, Icon::Exclamation);
    if (answer == Answer::Yes)
        mnuExportPdf_Click();
    return false;
}

QString ReportCommands::askComment()
{
    // The last answer is offered again while the image is the same, so
    // Preview, Print and PDF of one module need it typed once.
    const InputReply reply =
        m_window.ui.inputBox(m_window.shell.dialogParent(), QStringLiteral("Serial number or comment?"),
                             QStringLiteral("Optional Information Entry"), m_lastComment);
    if (reply.accepted)
        m_lastComment = reply.text;
    return reply.text;
}

report::ReportInputs ReportCommands::inputs(const QString &comment) const
{
    const ModuleData &data = m_window.document.data();
    report::ReportInputs in;
    in.params = data.params;
    // The module the image came from, whatever the link has met since.
    in.firmwareId = m_window.document.source().firmware;
    in.companyName = m_companyName;
    in.printedAt = report::printedAtText(QDateTime::currentDateTime());
    in.comment = comment;
    in.locale = QLocale();
    // An open table is printed with its unsaved edits, as its grid shows
    // them; a closed one as it would open.
    const editor::TableSession &session = m_window.session;
    switch (session.active()) {
    case editor::TableKind::Curve2D: in.tableCells = report::gridCells2D(session.shownTable2D(), in.locale); break;
    case editor::TableKind::Map3D:
        in.tableCells = report::gridCells3D(session.shownTable3D(), data.params.MAPSensor, in.locale);
        break;
    case editor::TableKind::None: break;
    }
    return in;
}

report::ChartPicture ReportCommands::chartPicture() const
{
    const ModuleData &data = m_window.document.data();
    const editor::TableSession &session = m_window.session;
    switch (session.active()) {
    case editor::TableKind::Curve2D:
        return charts::chart2DPicture(programFile(axes::template2DFileName()), session.shownTable2D());
    case editor::TableKind::Map3D:
        return charts::chart3DPicture(programFile(axes::template3DFileName(data.params.MAPSensor)),
                                      session.shownTable3D(), data.params);
    case editor::TableKind::None: break;
    }
    return {};
}

ReportCommands::PreparedReport ReportCommands::prepareReport(const QString &comment)
{
    // The window's charts print without their value labels.
    m_window.views.chart2D.hideValueLabel();
    m_window.views.chart3D.hideValueLabel();
    const report::ReportInputs in = inputs(comment);
    report::ReportDocument document = report::layoutReport(in);
    if (const std::optional<report::TuneVersion> before = m_comparedTune ? m_comparedTune() : std::nullopt) {
        const report::TuneVersion after{m_printedName(), in.printedAt, m_window.document.data().params,
                                        m_window.session.shownTable2D(), m_window.session.shownTable3D()};
        report::appendChangesPage(document, in, *before, after);
    }
    return {std::move(document), chartPicture()};
}

void ReportCommands::setComparedTune(std::function<std::optional<report::TuneVersion>()> compared,
                                     std::function<QString()> printedName)
{
    m_comparedTune = std::move(compared);
    m_printedName = std::move(printedName);
}

void ReportCommands::mnuPrintSetup_Click()
{
    if (!printerReady(PrintSetupTitle))
        return;
    // Cancel leaves the printer as it was; OK keeps the choice for the run.
    m_window.ui.choosePrinter(m_window.shell.dialogParent(), printer(), PrintSetupTitle);
}

void ReportCommands::mnuPrintTable_Click()
{
    if (!printerReady(PrintTableTitle))
        return;
    const PreparedReport r = prepareReport(askComment());
    runTrapped(m_window.errors, [&] { printReport(printer(), r.document, r.chart); });
}

void ReportCommands::mnuPrintPreview_Click()
{
    printPreview(askComment());
}

void ReportCommands::printPreview(const QString &comment)
{
    const PreparedReport r = prepareReport(comment);
    m_window.ui.printPreview(m_window.shell.dialogParent(), printer(), PreviewTitle, [&](QPrinter &shown) {
        runTrapped(m_window.errors, [&] { printReport(shown, r.document, r.chart); });
    });
}

void ReportCommands::mnuExportPdf_Click()
{
    const QString path =
        m_window.dialogs.askExportPath(ExportTitle, QStringLiteral("PDF Files (*.pdf)"), QStringLiteral(".pdf"));
    if (path.isEmpty())
        return;
    const PreparedReport r = prepareReport(askComment());
    runTrapped(m_window.errors, [&] { report::writeReportPdf(path, printer().pageLayout(), r.document, r.chart); });
}

}  // namespace tunara::ui
