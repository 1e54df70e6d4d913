// What the main window does for its commands (WindowShell): caption, status
// bar and busy state.
#include "app/main_window.h"

#include "app/busy_gate.h"
#include "app/port_setup_panel.h"

#include <QComboBox>
#include <QMenuBar>
#include <QStatusBar>

namespace tunara::ui {

void frmTunara_Main::showMainTitle()
{
    setWindowTitle(m_mainTitle);
}

void frmTunara_Main::showDataSource(const QString &source)
{
    setWindowTitle(m_mainTitle + QStringLiteral(" - ") + source);
}

void frmTunara_Main::showStatusMessage(const QString &text)
{
    statusBar()->showMessage(text);
}

void frmTunara_Main::clearStatusMessage()
{
    statusBar()->clearMessage();
}

// While a transfer runs the menus and the port choice are out of reach; the
// close box is refused by the window and its layout rule leaves the port
// alone. Esc still reaches the transfer through the window's key preview.
void frmTunara_Main::setBusy(bool busy)
{
    m_gate->setBusy(busy);
    menuBar()->setEnabled(!busy);
    m_portPanel->list()->setEnabled(!busy);
}

}  // namespace tunara::ui
