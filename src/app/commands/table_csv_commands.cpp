// "Export Table as CSV..." and "Import Table into Grid..." of the File menu.
#include "app/commands/table_csv_commands.h"

#include "app/commands/file_dialogs.h"

#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "editor/table_session.h"
#include "files/table_csv.h"
#include "ui_port/user_interface.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"

#include <QAction>
#include <QFileInfo>
#include <QLocale>

namespace tunara::ui {

namespace {

const QString ExportTitle = QStringLiteral("Export Table as CSV");
const QString ImportTitle = QStringLiteral("Import Table into Grid");
const QString CRLF = QStringLiteral("\r\n");
const QString CsvFilter = QStringLiteral("CSV files (*.csv)");
// The export's two file types: what a spreadsheet writes in a decimal-point
// and in a decimal-comma locale.
const QString CommaCsvFilter = QStringLiteral("CSV files, commas and decimal points (*.csv)");
const QString SemicolonCsvFilter = QStringLiteral("CSV files, semicolons and decimal commas (*.csv)");

// The model's block of a whole table, row after row as the grid shows it.
editor::ValueBlock blockOf(const Table2D &table)
{
    editor::ValueBlock values;
    for (int point = 1; point <= SpeedPoints; ++point)
        values.push_back(table(point, 1));
    return values;
}

editor::ValueBlock blockOf(const Table3D &table)
{
    editor::ValueBlock values;
    for (int row = 0; row < PressureRows; ++row)
        for (int point = 1; point <= SpeedPoints; ++point)
            values.push_back(table(point, editor::TableEditModel::pressureIndexOfRow(row)));
    return values;
}

}  // namespace

TableCsvCommands::TableCsvCommands(const ModuleData &data, editor::TableSession &session, TableViews views,
                                   const MainActions &actions, UserInterface &ui, WindowShell &shell,
                                   FileDialogs &dialogs, QObject *parent)
    : QObject(parent),
      m_data(data),
      m_session(session),
      m_model(session.model()),
      m_views(views),
      m_ui(ui),
      m_shell(shell),
      m_dialogs(dialogs)
{
    connect(actions.exportCsv, &QAction::triggered, this, &TableCsvCommands::mnuExportCsv_Click);
    connect(actions.importCsv, &QAction::triggered, this, &TableCsvCommands::mnuImportCsv_Click);
    QAction *importCsv = actions.importCsv;
    connect(&m_model, &editor::TableEditModel::tableReset, this,
            [this, importCsv] { importCsv->setEnabled(m_model.isOpen()); });
}

void TableCsvCommands::message(const QString &text, const QString &title, bool critical)
{
    m_ui.messageBox(m_shell.dialogParent(), text, title, Buttons::OK, critical ? Icon::Critical : Icon::Exclamation);
}

// ---- export ----

void TableCsvCommands::mnuExportCsv_Click()
{
    const ModuleData &data = m_data;
    if (!m_model.isOpen()) {
        if (data.image.DataBufferEmpty) {
            message(QStringLiteral("Data buffer empty."), ExportTitle);
            return;
        }
        if (m_session.active() == editor::TableKind::None) {
            message(QStringLiteral("Timing table disabled. Edit module parameters to enable timing table."),
                    ExportTitle);
            return;
        }
    }
    // The form a spreadsheet in this locale reads comes first.
    const bool decimalComma = QLocale().decimalPoint() == QStringLiteral(",");
    const QString filters = decimalComma ? SemicolonCsvFilter + QStringLiteral(";;") + CommaCsvFilter
                                         : CommaCsvFilter + QStringLiteral(";;") + SemicolonCsvFilter;
    QString chosen;
    const QString path =
        m_dialogs.askExportPath(ExportTitle, filters, QStringLiteral(".csv"), &chosen, m_dialogs.csvFolder());
    if (path.isEmpty())
        return;
    m_dialogs.rememberCsvFolder(path);
    exportTo(path, chosen == SemicolonCsvFilter ? csv::SemicolonComma : csv::CommaPoint);
}

// The active table as the grid shows it (unsaved edits included) or, with
// none open, as Edit Timing Table would open it.
QByteArray TableCsvCommands::tableCsv(csv::Dialect dialect) const
{
    const editor::TableSession &session = m_session;
    if (session.active() == editor::TableKind::Curve2D)
        return tablecsv::write2D(session.shownTable2D(), session.shownTrigTiming(), dialect);
    return tablecsv::write3D(session.shownTable3D(), session.shownTrigTiming(), m_data.params.MAPSensor, dialect);
}

bool TableCsvCommands::exportTo(const QString &path, csv::Dialect dialect)
{
    try {
        tablecsv::writeFile(path, tableCsv(dialect));
    } catch (const RuntimeError &e) {
        message(e.description(), ExportTitle, true);
        return false;
    }
    m_shell.showStatusMessage(QStringLiteral("Table exported to %1").arg(path));
    return true;
}

// ---- import ----

void TableCsvCommands::mnuImportCsv_Click()
{
    if (!m_model.isOpen()) {
        message(QStringLiteral("Open a timing table before importing into the grid."), ImportTitle);
        return;
    }
    QString path;
    try {
        path = m_dialogs.FileOpen(ImportTitle, CsvFilter + QStringLiteral("|*.csv"), QString(), m_dialogs.csvFolder());
    } catch (const RuntimeError &) {
        return;  // the user cancelled in the file-not-found question
    }
    if (path.isEmpty())
        return;
    m_dialogs.rememberCsvFolder(path);
    importFrom(path);
}

bool TableCsvCommands::importFrom(const QString &path)
{
    editor::TableEditModel &model = m_model;
    if (!model.isOpen())
        return false;
    QByteArray bytes;
    try {
        bytes = tablecsv::readFile(path);
    } catch (const RuntimeError &e) {
        message(e.description(), ImportTitle, true);
        return false;
    }
    const tablecsv::ImportAdvice advice{QStringLiteral("use Import Table into Grid"),
                                        QStringLiteral("use File > Open")};
    if (const auto refusal = tablecsv::notCsvText(path, bytes, advice)) {
        message(*refusal + CRLF + CRLF + QStringLiteral("Nothing was imported."), ImportTitle);
        return false;
    }
    const int trig = model.trigTiming();
    std::optional<csv::Problem> problem;
    editor::ValueBlock values;
    if (model.kind() == editor::TableKind::Curve2D) {
        const auto result = tablecsv::read2D(bytes, trig);
        if (const auto *p = std::get_if<csv::Problem>(&result))
            problem = *p;
        else
            values = blockOf(std::get<Table2D>(result));
    } else {
        const auto result = tablecsv::read3D(bytes, trig, m_data.params.MAPSensor);
        if (const auto *p = std::get_if<csv::Problem>(&result))
            problem = *p;
        else
            values = blockOf(std::get<Table3D>(result));
    }
    if (problem) {
        message(path + CRLF + problem->text() + CRLF + CRLF + QStringLiteral("Nothing was imported."), ImportTitle);
        return false;
    }
    m_views.chart2D.hideValueLabel();
    m_views.chart3D.hideValueLabel();
    if (!model.setBlock(model.allCells(), std::move(values), QStringLiteral("Import")))
        return false;
    m_shell.showStatusMessage(QStringLiteral("Table imported from %1").arg(path));
    return true;
}

}  // namespace tunara::ui
