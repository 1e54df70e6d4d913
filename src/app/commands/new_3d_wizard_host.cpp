#include "app/commands/new_3d_wizard_host.h"

#include "app/window_shell.h"
#include "editor/table_session.h"
#include "module/module_data.h"

namespace tunara::ui {

New3DWizardHost::New3DWizardHost(const ModuleData &data, editor::TableSession &session, UserInterface &ui,
                               WindowShell &shell, std::function<void()> saveTable)
    : m_data(data), m_session(session), m_ui(ui), m_shell(shell), m_saveTable(std::move(saveTable))
{
}

int New3DWizardHost::trigTiming() const
{
    return m_data.params.TrigTiming;
}

void New3DWizardHost::setTrigTiming(int trigTiming)
{
    m_session.setWizardTrigTiming(trigTiming);
}

bool New3DWizardHost::isChart3DVisible() const
{
    return m_session.openKind() == editor::TableKind::Map3D;
}

void New3DWizardHost::clearTableView()
{
    m_session.discard();
    m_shell.showMainTitle();
}

void New3DWizardHost::showNewTable(const Table3D &map, int windowTrigTiming)
{
    m_session.openNew3D(map, windowTrigTiming);
}

}  // namespace tunara::ui
