#pragma once

#include "dialogs/new_3d_table_dialog.h"

#include <functional>

namespace tunara {
struct ModuleData;
namespace editor {
class TableSession;
}
}  // namespace tunara

namespace tunara::ui {

class WindowShell;

// The table editor as the new 3D table wizard (frmNew3DTable) sees it: run
// by New and by the empty-buffer Edit when the 3D table is enabled.
class New3DWizardHost : public wizards::New3DTableHost {
public:
    New3DWizardHost(const ModuleData &data, editor::TableSession &session, UserInterface &ui, WindowShell &shell,
                   std::function<void()> saveTable);

    UserInterface &userInterface() override { return m_ui; }
    int trigTiming() const override;
    void setTrigTiming(int trigTiming) override;
    bool isChart3DVisible() const override;
    void saveTable() override { m_saveTable(); }
    void clearTableView() override;
    // An Update for a trigger timing the module does not have yet shows the
    // map as that trigger timing would store it.
    void showNewTable(const Table3D &map, int windowTrigTiming) override;

private:
    const ModuleData &m_data;
    editor::TableSession &m_session;
    UserInterface &m_ui;
    WindowShell &m_shell;
    std::function<void()> m_saveTable;
};

}  // namespace tunara::ui
