// Communications > Port Setup: choosing the serial port.
#include "app/main_window.h"

#include "app/port_setup_panel.h"
#include "files/stored_settings.h"
#include "link/serial_port.h"

#include <QComboBox>

namespace tunara::ui {

void frmTunara_Main::mnuPortSetup_Click()
{
    m_portPanel->refreshDevice();
    m_portPanel->show();
    m_portPanel->raise();
    m_portPanel->list()->setFocus();
}

void frmTunara_Main::cboPort_Click()
{
    // The port of a running transfer stays the one it started on.
    if (transferRunning()) {
        m_portPanel->selectPort(m_ctx.port.portNumber());
        return;
    }
    const int number = m_portPanel->list()->currentIndex() + 1;
    if (number < 1)
        return;
    runTrapped(m_errorDialog, [&] {
        m_ctx.port.setPortNumber(number);
        m_ctx.settings.saveCommPort(number);
        // The next command opens the newly chosen port.
        if (m_ctx.port.isOpen())
            m_ctx.port.close();
    });
    m_portPanel->refreshDevice();
}

void frmTunara_Main::cmdPortSelectOK_Click()
{
    m_portPanel->hide();
}

}  // namespace tunara::ui
