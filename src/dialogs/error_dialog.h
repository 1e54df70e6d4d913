#pragma once

#include "ui_port/user_interface.h"
#include "core/runtime_error.h"

class QWidget;

namespace tunara::ui {

// The common error dialog: the error's description, Abort / Retry / Ignore,
// the critical icon, title "Error". Every trapped procedure hands it to
// tunara::runTrapped, which repeats, skips or leaves on the answer. (The
// class cannot carry the name of its one method, ErrorDialog.)
class CommonErrorDialog : public ErrorResponder {
public:
    explicit CommonErrorDialog(UserInterface &ui, QWidget *owner = nullptr) : m_ui(ui), m_owner(owner) {}

    // Returns the button pressed: 3 Abort, 4 Retry, 5 Ignore.
    ErrorChoice ErrorDialog(const RuntimeError &error) override;


private:
    UserInterface &m_ui;
    QWidget *m_owner;
};

}  // namespace tunara::ui
