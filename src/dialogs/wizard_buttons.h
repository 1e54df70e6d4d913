#pragma once

#include <functional>

class QPushButton;
class QWidget;

namespace tunara::ui {
class UserInterface;
}

namespace tunara::wizards {

// The new-table wizards' "Update" and "OK" buttons (cmdUpdate, cmdOK).
// Neither is a default button: Enter in a box must not press one past the
// box's check.
struct WizardButtons {
    QPushButton *update = nullptr;
    QPushButton *ok = nullptr;
};
WizardButtons makeWizardButtons(QWidget *parent);

// Asks whether to save the table on view before a wizard clears it; Yes
// runs `saveTable` first. True when the view is to be cleared (Yes or No);
// false on Cancel, when the table stays on view.
bool askToCloseTableOnView(ui::UserInterface &ui, QWidget *parent, const std::function<void()> &saveTable);

}  // namespace tunara::wizards
