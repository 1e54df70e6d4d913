#pragma once

#include "editor/cell_block.h"
#include "editor/table_rules.h"

#include <QObject>
#include <QPalette>
#include <QPoint>

class QWidget;

namespace tunara::editor {
class TableEditModel;
}
namespace tunara::ui {
class UserInterface;
}

namespace tunara::views {

class TimingCellDelegate;
class TimingGrid;

// Makes a timing grid a view of the editing model for one table kind: the
// data cells show the model's values ("#0.0") and follow every change of
// it; a typed entry goes to the model and is refused there with the
// "Timing Edit" message; the highlight shows only on a data cell; a right
// click asks for the grid's pop-up menu.
class TableGridBinding : public QObject {
    Q_OBJECT
public:
    TableGridBinding(TimingGrid &grid, editor::TableEditModel &model, editor::TableKind kind, ui::UserInterface &ui,
                     QWidget *messageOwner);

    TimingGrid &grid() const { return m_grid; }

    // Writes every data cell from the model (when it holds this kind).
    void showAllValues();

signals:
    // A data cell became current; model coordinates (grid row - 1, column - 1).
    void currentDataCellChanged(int row, int column);
    // Right button on the grid, at this global position.
    void contextMenuRequested(const QPoint &globalPos);

private:
    bool holdsMyKind() const;
    void showValues(const editor::CellRect &cells);
    void onCurrentCellChanged(int row, int column);
    void setHighlightShown(bool shown);

    TimingGrid &m_grid;
    editor::TableEditModel &m_model;
    editor::TableKind m_kind;
    ui::UserInterface &m_ui;
    QWidget *m_messageOwner;
    QPalette m_normalColours;
    TimingCellDelegate *m_delegate;
};

}  // namespace tunara::views
