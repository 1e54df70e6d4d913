#pragma once

#include "app/commands/table_views.h"
#include "dialogs/new_2d_table_dialog.h"
#include "editor/table_session.h"
#include "views/curve_2d_editor.h"

#include <QObject>

#include <functional>
#include <optional>

namespace tunara::views {
class Map3DDisplay;
class Map3DEditor;
class TableGridBinding;
}  // namespace tunara::views

namespace tunara::charts {
struct TemplateResult;
}  // namespace tunara::charts

namespace tunara::ui {

class CopyBuffer;
struct GridPopupActions;
struct MainActions;
class WindowShell;

// The timing table editor of the main window: the New, Edit, Save and Close
// commands, Undo and Redo, and the views of the table session's editing
// model. The session says whether a table is open and which; the views show
// and hide when it opens and closes a table.
class TableCommands : public QObject, public wizards::New2DTableHost {
    Q_OBJECT
public:
    TableCommands(const ModuleData &data, editor::TableSession &session, UserInterface &ui, const MainActions &actions,
                  TableViews views, CopyBuffer &copy, WindowShell &shell, QString programFolder, QObject *parent);
    ~TableCommands() override;

    editor::TableSession &session() { return m_session; }
    editor::TableEditModel &model() { return m_session.model(); }
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

    // Pressure labels and template of the 3D chart for the MAP sensor. False
    // (after the message and a close) when the template did not load; the
    // calling command then stops.
    bool ChartSetup3D();

    // What the 2D wizard asks of the window.
    UserInterface &userInterface() override;
    int trigTiming() const override;
    bool isChart2DVisible() const override;
    void saveTable() override { mnuSaveTbl_Click(); }
    void clearTableView() override;
    void showNewTable(const Table2D &table, int trigTiming) override;

private:
    // The views follow the session.
    void showTableViews(editor::TableKind kind);
    void hideTableViews();

    void registerCommands();
    void updateUndoRedo();
    // A cell edit or a chart drag not yet committed to the table.
    bool isEditInProgress() const;
    void endTableEditing();
    void showNew2DWizard();
    void showNew3DWizard();
    bool loadTemplate2D();
    void reportTemplateFailure(const QString &fileName, const charts::TemplateResult &result);
    void popUpGridMenu(const GridPopupActions &popUp, const QPoint &globalPos);

    const ModuleData &m_data;
    editor::TableSession &m_session;
    UserInterface &m_ui;
    const MainActions &m_actions;
    TableViews m_views;
    CopyBuffer &m_copy;
    WindowShell &m_shell;
    QString m_programFolder;  // where the chart templates are
    views::ChartGestureState m_gesture;
    views::TableGridBinding *m_grid2D = nullptr;
    views::TableGridBinding *m_grid3D = nullptr;
    views::Curve2DEditor *m_curve2D = nullptr;
    views::Map3DDisplay *m_map3D = nullptr;
    views::Map3DEditor *m_map3DEditor = nullptr;
};

}  // namespace tunara::ui
