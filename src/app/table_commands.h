#pragma once

#include "dialogs/new_2d_table_dialog.h"
#include "editor/table_edit_model.h"
#include "views/curve_2d_editor.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QMenu;

namespace tunara::views {
class Map3DDisplay;
class Map3DEditor;
class TableGridBinding;
struct TemplateResult;
}  // namespace tunara::views

namespace tunara::ui {

class frmTunara_Main;

// The timing table editor of the main window: the New, Edit, Save and Close
// commands, the sequences that put a table on screen, Undo and Redo, and the
// views of the one editing model. A table is open exactly while its chart is
// shown; hiding the views by any command ends the model's table and its
// history.
class TableCommands : public QObject, public wizards::New2DTableHost {
    Q_OBJECT
public:
    explicit TableCommands(frmTunara_Main &window);
    ~TableCommands() override;

    editor::TableEditModel &model() { return m_model; }
    views::ChartGestureState &gesture() { return m_gesture; }
    views::Curve2DEditor &curve2D() { return *m_curve2D; }
    views::TableGridBinding &grid2DBinding() { return *m_grid2D; }
    views::TableGridBinding &grid3DBinding() { return *m_grid3D; }

    void mnuNewTable_Click();
    void mnuEditTimingTable_Click();
    void mnuSaveTbl_Click();
    void mnuCloseTbl_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();

    // The working array of the mode on screen, from the top left cell.
    void ShowTable2D();
    void ShowTable3D();
    // Pressure labels and template of the 3D chart for the MAP sensor, and
    // the map into the 3D views. False (after the message and a close) when
    // the template did not load; the calling command then stops.
    bool ChartSetup3D();

    // What the 2D wizard asks of the window.
    UserInterface &userInterface() override;
    int trigTiming() const override;
    bool isChart2DVisible() const override;
    void saveTable() override { mnuSaveTbl_Click(); }
    void clearTableView() override;
    void showNewTable(const Table2D &table, int trigTiming) override;

    // Called by a wizard before it first changes a working array or the
    // trigger timing: until its table is saved, taking that table off the
    // screen puts both back as they were, so they match the image again.
    void rememberBeforeWizard();

private:

    void registerCommands();
    void addUndoRedoItems();
    void updateUndoRedo();
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A cell edit or a chart drag not yet committed to the table.
    bool isEditInProgress() const;
    // A table's grid is shown (the one the save and close commands act on).
    bool isTableOnView() const;
    void writeTableToImage();
    void endTableEditing();
    void showNew2DWizard();
    void showNew3DWizard();
    bool loadTemplate2D();
    void reportTemplateFailure(const QString &fileName, const views::TemplateResult &result);
    void popUpGridMenu(QMenu *menu, const QString &pasteItem, const QPoint &globalPos);

    frmTunara_Main &m_window;
    editor::TableEditModel m_model;
    views::ChartGestureState m_gesture;
    views::TableGridBinding *m_grid2D = nullptr;
    views::TableGridBinding *m_grid3D = nullptr;
    views::Curve2DEditor *m_curve2D = nullptr;
    views::Map3DDisplay *m_map3D = nullptr;
    views::Map3DEditor *m_map3DEditor = nullptr;
    struct BeforeWizard {
        TimingTables tables;
        int trigTiming = 0;
    };
    std::optional<BeforeWizard> m_beforeWizard;
    void restoreBeforeWizard();
    void rebaseForWizardTrigger();
    // The charts as the hide watch sees them; it must not reach through the
    // window, which may be half destroyed when its children are hidden.
    QPointer<QWidget> m_watchedChart2D;
    QPointer<QWidget> m_watchedChart3D;
};

}  // namespace tunara::ui
