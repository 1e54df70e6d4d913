#include "app/main_parameter_dialogs.h"

#include "app/main_window.h"
#include "app/table_commands.h"
#include "dialogs/gpio_params_dialog.h"
#include "dialogs/mod_params_dialog.h"

#include <QAction>

namespace tunara::ui {

namespace {

// Runs "Close Timing Table"; true when no table is open afterwards.
bool closeTimingTable(frmTunara_Main &window)
{
    window.tableCommands()->mnuCloseTbl_Click();
    return !window.isTableOpen();
}

}  // namespace

void ConnectParameterDialogs(frmTunara_Main &window)
{
    QObject::connect(window.actions().editModParams, &QAction::triggered, &window,
                     [&window] { mnuEditModParams_Click(window); });
    QObject::connect(window.actions().editGPIOParams, &QAction::triggered, &window,
                     [&window] { mnuEditGPIOParams_Click(window); });
}

void mnuEditModParams_Click(frmTunara_Main &window)
{
    if (!closeTimingTable(window))
        return;
    // Each table mode choice takes the table menus with it at once.
    dialogs::frmModParams dialog(window.context().data, [&window] { window.applyTableMenuRule(); }, &window,
                                 &window.context().ui);
    window.context().ui.showModal(dialog);
}

void mnuEditGPIOParams_Click(frmTunara_Main &window)
{
    if (!closeTimingTable(window))
        return;
    dialogs::frmGPIOParams dialog(window.context().data.params, window.context().ui, &window);
    window.context().ui.showModal(dialog);
}

}  // namespace tunara::ui
