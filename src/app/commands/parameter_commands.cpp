#include "app/commands/parameter_commands.h"

#include "app/main_actions.h"
#include "app/window_shell.h"
#include "dialogs/gpio_params_dialog.h"
#include "dialogs/mod_params_dialog.h"

#include <QAction>

namespace tunara::ui {

ParameterCommands::ParameterCommands(ModuleDocument &document, UserInterface &ui, const MainActions &actions,
                                     WindowShell &shell, std::function<bool()> closeTable, QObject *parent)
    : QObject(parent), m_document(document), m_ui(ui), m_shell(shell), m_closeTable(std::move(closeTable))
{
    connect(actions.editModParams, &QAction::triggered, this, &ParameterCommands::mnuEditModParams_Click);
    connect(actions.editGPIOParams, &QAction::triggered, this, &ParameterCommands::mnuEditGPIOParams_Click);
}

void ParameterCommands::mnuEditModParams_Click()
{
    if (!m_closeTable())
        return;
    // Each table mode choice takes the table menus with it at once: they
    // follow the document.
    dialogs::frmModParams dialog(m_document, m_shell.dialogParent(), &m_ui);
    m_ui.showModal(dialog);
}

void ParameterCommands::mnuEditGPIOParams_Click()
{
    if (!m_closeTable())
        return;
    dialogs::frmGPIOParams dialog(m_document, m_ui, m_shell.dialogParent());
    m_ui.showModal(dialog);
}

}  // namespace tunara::ui
