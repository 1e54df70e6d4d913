#include "app/main_new_3d_table.h"

#include "editor/table_session.h"
#include "app/main_window.h"
#include "app/table_commands.h"
#include "dialogs/new_3d_table_dialog.h"

namespace tunara::ui {

namespace {

// The main window as the 3D wizard sees it.
class New3DWizardHost : public wizards::New3DTableHost {
public:
    explicit New3DWizardHost(frmTunara_Main &window) : m_window(window) {}

    UserInterface &userInterface() override { return m_window.context().ui; }
    int trigTiming() const override { return m_window.context().data.params.TrigTiming; }
    void setTrigTiming(int trigTiming) override { m_window.session().setWizardTrigTiming(trigTiming); }
    bool isChart3DVisible() const override { return m_window.session().openKind() == editor::TableKind::Map3D; }
    void saveTable() override { m_window.tableCommands()->mnuSaveTbl_Click(); }
    void clearTableView() override
    {
        m_window.session().discard();
        m_window.setWindowTitle(m_window.MainTitle);
    }
    // An Update for a trigger timing the module does not have yet shows the
    // map as that trigger timing would store it.
    void showNewTable(const Table3D &map, int windowTrigTiming) override
    {
        m_window.session().openNew3D(map, windowTrigTiming);
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
