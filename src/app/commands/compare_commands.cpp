#include "app/commands/compare_commands.h"
#include "app/commands/file_dialogs.h"

#include "app/commands/opened_file_check.h"
#include "app/commands/file_commands.h"
#include "app/main_actions.h"
#include "app/window_shell.h"
#include "core/runtime_error.h"
#include "editor/table_session.h"
#include "ui_port/user_interface.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"

#include <QAction>
#include <QFileInfo>

namespace tunara::ui {

namespace {

const QString CompareTitle = QStringLiteral("Compare With File");

QString kindWord(editor::TableKind kind)
{
    return kind == editor::TableKind::Map3D ? QStringLiteral("3D") : QStringLiteral("2D");
}

}  // namespace

// ---- compare ----

CompareCommands::CompareCommands(editor::TableEditModel &model, TableViews views, const MainActions &actions,
                                 UserInterface &ui, WindowShell &shell, FileDialogs &dialogs, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_actions(actions),
      m_ui(ui),
      m_shell(shell),
      m_dialogs(dialogs),
      m_overlay(new views::CompareOverlay(views.chart2D, views.chart3D, views.grid2D, views.grid3D, model))
{
    connect(actions.compareWithFile, &QAction::triggered, this, &CompareCommands::mnuCompareWithFile_Click);
    connect(actions.stopComparing, &QAction::triggered, this, &CompareCommands::mnuStopComparing_Click);
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { updateMenuItems(); });
    connect(m_overlay, &views::CompareOverlay::activeChanged, this, [this] { updateMenuItems(); });
    updateMenuItems();
}

void CompareCommands::updateMenuItems()
{
    m_actions.compareWithFile->setEnabled(m_model.isOpen());
    m_actions.stopComparing->setEnabled(m_overlay->isActive());
}

void CompareCommands::mnuCompareWithFile_Click()
{
    if (!m_model.isOpen())
        return;
    QString path;
    try {
        path = m_dialogs.FileOpen(CompareTitle, FileCommands::dataFileFilter(), QString());
    } catch (const RuntimeError &) {
        return;  // the user cancelled in the file-not-found question
    }
    if (!path.isEmpty())
        compareWithFile(path);
}

void CompareCommands::mnuStopComparing_Click()
{
    m_overlay->stop();
    m_shell.clearStatusMessage();
}

bool CompareCommands::compareWithFile(const QString &path, const QString &shownName)
{
    const std::optional<ModuleData> other = readOtherDataFile(m_ui, m_shell.dialogParent(), path, CompareTitle);
    if (!other)
        return false;
    const editor::TableKind open = m_model.kind();
    const editor::TableKind theirs = editor::activeTable(other->params);
    const QString name = shownName.isEmpty() ? QFileInfo(path).fileName() : shownName;
    if (theirs == editor::TableKind::None) {
        m_ui.messageBox(m_shell.dialogParent(),
                      QStringLiteral("%1 selects no timing table (neither the 2D nor the 3D table). Nothing is compared.")
                          .arg(name),
                      CompareTitle, Buttons::OK, Icon::Exclamation);
        return false;
    }
    if (theirs != open) {
        m_ui.messageBox(m_shell.dialogParent(),
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
    source.params = other->params;
    source.date = report::printedAtText(QFileInfo(path).lastModified());
    if (!m_overlay->start(source))
        return false;
    const size_t count = m_overlay->differences().size();
    m_shell.showStatusMessage(count == 0 ? QStringLiteral("Comparing with %1: no cell differs").arg(name)
                                                 : QStringLiteral("Comparing with %1: %2 cell(s) differ").arg(name).arg(count));
    return true;
}

std::optional<report::TuneVersion> CompareCommands::comparedTune() const
{
    if (!m_overlay->isActive())
        return std::nullopt;
    const views::CompareSource &s = m_overlay->source();
    return report::TuneVersion{s.name, s.date, s.params, s.table2D, s.table3D};
}

}  // namespace tunara::ui
