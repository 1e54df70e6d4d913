// Leaving the program: Exit, the close box, and what closing does first.
#include "app/main_window.h"

#include "app/commands/image_keeper.h"
#include "app/commands/image_replacement.h"
#include "app/commands/table_commands.h"
#include "link/serial_port.h"

#include <QApplication>
#include <QCloseEvent>

namespace tunara::ui {

void frmTunara_Main::mnuExit_Click()
{
    close();
}

void frmTunara_Main::closeEvent(QCloseEvent *event)
{
    // Closing would leave the module part-written or the image half-read.
    if (transferRunning()) {
        event->ignore();
        m_ctx.ui.messageBox(this,
                            QStringLiteral("A transfer with the module is running. Press Esc to stop it, then "
                                           "close the program."),
                            QStringLiteral("Exit Program"), Buttons::OK, Icon::Exclamation);
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void frmTunara_Main::Form_QueryUnload(bool &cancel)
{
    if (isTableOpen()) {
        const Answer a = m_ctx.ui.messageBox(this, QStringLiteral("Save timing table before exiting?"),
                                             QStringLiteral("Exit Program"), Buttons::YesNoCancel,
                                             Icon::Exclamation);
        if (a == Answer::Yes)
            m_tableCommands->mnuSaveTbl_Click();
        else if (a != Answer::No)
            cancel = true;
    }
    if (!cancel && m_keeper && !m_keeper->confirmExitWithUnsavedWork())
        cancel = true;
    // In every case, Cancel included, the line is let go. Data files are
    // opened and closed within each file command, so none is open here.
    if (m_ctx.port.isOpen())
        m_ctx.port.close();
}

void frmTunara_Main::Form_Unload()
{
    // Every other window of the program goes too, the newest first; the
    // program ends with the last one.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        QWidget *w = *it;
        if (w != this && w->isVisible())
            w->close();
    }
}

}  // namespace tunara::ui
