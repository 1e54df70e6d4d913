#include "app/commands/take_compared_command.h"

#include "app/main_actions.h"
#include "app/window_shell.h"
#include "editor/table_edit_model.h"
#include "editor/table_edits.h"
#include "views/compare_overlay.h"

#include <QAction>

namespace tunara::ui {

using editor::TableKind;

TakeComparedCommand::TakeComparedCommand(editor::TableEditModel &model, views::CompareOverlay &overlay,
                                         SelectedCells selected, const MainActions &actions, WindowShell &shell,
                                         QObject *parent)
    : QObject(parent),
      m_model(model),
      m_overlay(overlay),
      m_selected(std::move(selected)),
      m_actions(actions),
      m_shell(shell)
{
    connect(actions.takeCompared, &QAction::triggered, this, [this] { take(m_model.kind()); });
    connect(actions.popUp2D.takeCompared, &QAction::triggered, this, [this] { take(TableKind::Curve2D); });
    connect(actions.popUp3D.takeCompared, &QAction::triggered, this, [this] { take(TableKind::Map3D); });
    connect(&overlay, &views::CompareOverlay::activeChanged, this, [this] { updateItems(); });
    connect(&model, &editor::TableEditModel::tableReset, this, [this] { updateItems(); });
    updateItems();
}

void TakeComparedCommand::updateItems()
{
    const bool on = m_model.isOpen() && m_overlay.isActive();
    for (QAction *item : {m_actions.takeCompared, m_actions.popUp2D.takeCompared, m_actions.popUp3D.takeCompared})
        item->setEnabled(on);
}

void TakeComparedCommand::take(TableKind kind)
{
    // A shortcut reaches here however the menus look: ask the state itself.
    if (!m_overlay.isActive() || m_shell.transferRunning() || kind != m_model.kind())
        return;
    const std::optional<editor::CellRect> cells = m_selected(kind);
    if (!cells) {
        m_shell.showStatusMessage(QStringLiteral("Select the cells to take from %1").arg(m_overlay.source().name));
        return;
    }
    const views::CompareSource &source = m_overlay.source();
    const editor::TableEdit edit = editor::edits::takeCompared(
        m_model, *cells, editor::edits::comparedLayout(m_model, source.table2D, source.table3D));
    if (edit.applied)
        m_shell.showStatusMessage(edit.note);
}

}  // namespace tunara::ui
