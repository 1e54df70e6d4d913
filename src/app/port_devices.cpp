#include "app/port_devices.h"

#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"

#include <QDir>

namespace tunara::ui {

QString describePortDevice(const link::PortMap &map, int n)
{
    const QString path = map.devicePath(n);
    if (path.isEmpty())
        return link::PortMap::noDeviceText(n);
    const bool chosen = !map.overridePath(n).isEmpty();
    return QStringLiteral("Com%1 is %2 on this system%3.")
        .arg(n)
        .arg(QDir::toNativeSeparators(path), chosen ? QStringLiteral(" (set for this user)") : QString());
}

SimulatedPortLink::SimulatedPortLink(link::QtSerialPort &port) : m_port(port) {}

SimulatedPortLink::~SimulatedPortLink()
{
    stop();
}

void SimulatedPortLink::start(int portNumber)
{
    auto module = std::make_unique<sim::SimulatedModule>();
    module->start();
    m_module = std::move(module);
    m_number = portNumber >= 1 ? portNumber : 1;
    follow();
}

void SimulatedPortLink::stop()
{
    if (!m_module)
        return;
    if (m_port.isOpen())
        m_port.close();
    m_port.setDevicePath(QString());
    m_module->stop();
    m_module.reset();
    m_number = 0;
}

QString SimulatedPortLink::devicePath() const
{
    return m_module ? m_module->devicePath() : QString();
}

void SimulatedPortLink::follow()
{
    if (!m_module)
        return;
    m_port.setDevicePath(m_port.portNumber() == m_number ? m_module->devicePath() : QString());
}

QString SimulatedPortLink::describe(const link::PortMap &map, int portNumber) const
{
    if (m_module && portNumber == m_number)
        return QStringLiteral("Com%1 is the simulated module at %2 (started by --simulate).")
            .arg(portNumber)
            .arg(m_module->devicePath());
    return describePortDevice(map, portNumber);
}

}  // namespace tunara::ui
