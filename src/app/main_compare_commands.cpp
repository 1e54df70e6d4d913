// "Compare With File...", "Stop Comparing", and the check after a file is
// opened.
#include "app/compare_commands.h"

#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "app/data_commands.h"
#include "app/main_window.h"
#include "editor/table_session.h"
#include "app/table_commands.h"
#include "views/timing_grid.h"
#include "compare/image_check.h"
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "module/parameter_codec.h"

#include <QFileInfo>
#include <QAction>
#include <QStatusBar>

namespace tunara::ui {

namespace {

const QString CompareTitle = QStringLiteral("Compare With File");
const QString CRLF = QStringLiteral("\r\n");

QString kindWord(editor::TableKind kind)
{
    return kind == editor::TableKind::Map3D ? QStringLiteral("3D") : QStringLiteral("2D");
}

}  // namespace

void InstallCompareCommands(frmTunara_Main &window)
{
    TableCommands &tables = *window.tableCommands();
    new CompareCommands(window, tables);
    new TableCsvCommands(window, tables);
}

std::optional<ModuleData> ReadOtherDataFile(frmTunara_Main &window, const QString &path, const QString &title)
{
    UserInterface &ui = window.context().ui;
    QByteArray bytes;
    try {
        bytes = datafile::read(path);
    } catch (const RuntimeError &e) {
        ui.messageBox(&window, e.description(), title, Buttons::OK, Icon::Critical);
        return std::nullopt;
    }
    ModuleData data;
    data.image.ClearEEPROMBuffer();
    if (bytes.size() < datafile::Size || !datafile::fillImage(bytes, data.image)) {
        ui.messageBox(&window, path + CRLF + datafile::prematureEndMessage(), title, Buttons::OK, Icon::Exclamation);
        return std::nullopt;
    }
    data.image.DataBufferEmpty = false;
    UpdateParams(data);
    return data;
}

void ShowOpenedFileCheck(frmTunara_Main &window, const QString &path)
{
    const compare::CheckReport report = compare::checkImage(window.context().data.image);
    if (report.items.empty())
        return;
    const QString text =
        QStringLiteral("The program reads %1 item(s) of %2 other than the file stores them; a save or an upload "
                       "writes them as read:")
            .arg(report.items.size())
            .arg(QFileInfo(path).fileName()) +
        CRLF + CRLF + compare::itemListText(report.items, 20);
    window.context().ui.messageBox(&window, text, QStringLiteral("Check Data File"), Buttons::OK, Icon::Exclamation);
}

// ---- compare ----

CompareCommands::CompareCommands(frmTunara_Main &window, TableCommands &tables)
    : QObject(&window),
      m_window(window),
      m_tables(tables),
      m_overlay(new views::CompareOverlay(*window.chart2D(), *window.chart3D(), *window.grid2D(), *window.grid3D(),
                                   tables.model()))
{
    connect(window.actions().compareWithFile, &QAction::triggered, this, &CompareCommands::mnuCompareWithFile_Click);
    connect(window.actions().stopComparing, &QAction::triggered, this, &CompareCommands::mnuStopComparing_Click);
    connect(&tables.model(), &editor::TableEditModel::tableReset, this, [this] { updateMenuItems(); });
    connect(m_overlay, &views::CompareOverlay::activeChanged, this, [this] { updateMenuItems(); });
    updateMenuItems();
}

void CompareCommands::updateMenuItems()
{
    m_window.actions().compareWithFile->setEnabled(m_tables.model().isOpen());
    m_window.actions().stopComparing->setEnabled(m_overlay->isActive());
}

void CompareCommands::mnuCompareWithFile_Click()
{
    if (!m_tables.model().isOpen() || m_window.transferRunning())
        return;
    QString path;
    try {
        path = m_window.dataCommands().FileOpen(CompareTitle, DataCommands::dataFileFilter(), QString());
    } catch (const RuntimeError &) {
        return;  // the user cancelled in the file-not-found question
    }
    if (!path.isEmpty())
        compareWithFile(path);
}

void CompareCommands::mnuStopComparing_Click()
{
    m_overlay->stop();
    m_window.statusBar()->clearMessage();
}

bool CompareCommands::compareWithFile(const QString &path)
{
    const std::optional<ModuleData> other = ReadOtherDataFile(m_window, path, CompareTitle);
    if (!other)
        return false;
    const editor::TableKind open = m_tables.model().kind();
    const editor::TableKind theirs = editor::activeTable(other->params);
    const QString name = QFileInfo(path).fileName();
    UserInterface &ui = m_window.context().ui;
    if (theirs == editor::TableKind::None) {
        ui.messageBox(&m_window,
                      QStringLiteral("%1 selects no timing table (neither the 2D nor the 3D table). Nothing is compared.")
                          .arg(name),
                      CompareTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    if (theirs != open) {
        ui.messageBox(&m_window,
                      QStringLiteral("%1 holds a %2 timing table and the open table is a %3 table. Nothing is compared.")
                          .arg(name, kindWord(theirs), kindWord(open)),
                      CompareTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    views::CompareSource source;
    source.kind = theirs;
    source.name = name;
    source.trigTiming = other->params.TrigTiming;
    source.table2D = other->tables.table2D;
    source.table3D = other->tables.table3D;
    if (!m_overlay->start(source))
        return false;
    const size_t count = m_overlay->differences().size();
    m_window.statusBar()->showMessage(count == 0 ? QStringLiteral("Comparing with %1: no cell differs").arg(name)
                                                 : QStringLiteral("Comparing with %1: %2 cell(s) differ").arg(name).arg(count));
    return true;
}

}  // namespace tunara::ui
