#include "dialogs/error_dialog.h"

namespace tunara::ui {

ErrorChoice CommonErrorDialog::ErrorDialog(const RuntimeError &error)
{
    const Answer answer = m_ui.messageBox(m_owner, error.description(), QStringLiteral("Error"),
                                          Buttons::AbortRetryIgnore, Icon::Critical);
    switch (answer) {
    case Answer::Retry:
        return ErrorChoice::Retry;
    case Answer::Ignore:
        return ErrorChoice::Ignore;
    default:
        // A box closed any other way leaves the procedure: the safe answer.
        return ErrorChoice::Abort;
    }
}

}  // namespace tunara::ui
