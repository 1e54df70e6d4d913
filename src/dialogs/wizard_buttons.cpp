#include "dialogs/wizard_buttons.h"

#include "ui_port/user_interface.h"

#include <QPushButton>

namespace tunara::wizards {

WizardButtons makeWizardButtons(QWidget *parent)
{
    WizardButtons b;
    b.update = new QPushButton(QStringLiteral("&Update"), parent);
    b.update->setObjectName(QStringLiteral("cmdUpdate"));
    b.ok = new QPushButton(QStringLiteral("OK"), parent);
    b.ok->setObjectName(QStringLiteral("cmdOK"));
    b.update->setAutoDefault(false);
    b.ok->setAutoDefault(false);
    return b;
}

bool askToCloseTableOnView(ui::UserInterface &ui, QWidget *parent, const std::function<void()> &saveTable)
{
    const ui::Answer a = ui.messageBox(parent, QStringLiteral("Save timing table before closing file?"),
                                       QStringLiteral("Close File"), ui::Buttons::YesNoCancel,
                                       ui::Icon::Exclamation);
    if (a == ui::Answer::Yes)
        saveTable();
    return a == ui::Answer::Yes || a == ui::Answer::No;
}

}  // namespace tunara::wizards
