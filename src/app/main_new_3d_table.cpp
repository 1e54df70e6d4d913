#include "app/main_new_3d_table.h"

#include "views/chart_3d_view.h"
#include "app/main_window.h"
#include "app/table_commands.h"
#include "views/timing_grid.h"
#include "dialogs/new_3d_table_dialog.h"

namespace tunara::ui {

namespace {

// The main window as the 3D wizard sees it.
class New3DWizardHost : public wizards::New3DTableHost {
public:
    explicit New3DWizardHost(frmTunara_Main &window) : m_window(window) {}

    UserInterface &userInterface() override { return m_window.context().ui; }
    int trigTiming() const override { return m_window.context().data.params.TrigTiming; }
    void setTrigTiming(int trigTiming) override
    {
        m_window.tableCommands()->rememberBeforeWizard();
        m_window.context().data.params.TrigTiming = trigTiming;
    }
    bool isChart3DVisible() const override { return m_window.chart3D()->isVisibleTo(&m_window); }
    void saveTable() override { m_window.tableCommands()->mnuSaveTbl_Click(); }
    void clearTableView() override
    {
        m_window.chart3D()->hide();
        m_window.grid3D()->hide();
        m_window.setWindowTitle(m_window.MainTitle);
    }
    void showNewTable(const Table3D &map, int windowTrigTiming) override
    {
        m_window.tableCommands()->rememberBeforeWizard();
        m_window.context().data.tables.table3D = map;
        TableCommands &commands = *m_window.tableCommands();
        commands.ShowTable3D();
        // An Update for a trigger timing the module does not have yet shows
        // the map as that trigger timing would store it.
        if (windowTrigTiming != trigTiming())
            commands.model().open3D(map, windowTrigTiming);
    }

private:
    frmTunara_Main &m_window;
};

}  // namespace

void ShowNew3DTableWizard(frmTunara_Main &window)
{
    New3DWizardHost host(window);
    wizards::frmNew3DTable wizard(host, &window);
    wizard.Form_Load();
    window.context().ui.showModal(wizard);
}

}  // namespace tunara::ui
