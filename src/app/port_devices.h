#pragma once

#include <QString>

#include <memory>

namespace tunara::link {
class PortMap;
class QtSerialPort;
}  // namespace tunara::link
namespace tunara::sim {
class SimulatedModule;
}

namespace tunara::ui {

// What the port set-up panel says about a "Com" number: the device it
// stands for on this system, whether the user pointed it there, or that it
// stands for none.
QString describePortDevice(const link::PortMap &map, int portNumber);

// The --simulate option: a simulated module on a pseudo-terminal, reached
// through one port number. The port follows the number: that number reaches
// the simulated module, every other number its own device.
class SimulatedPortLink {
public:
    explicit SimulatedPortLink(link::QtSerialPort &port);
    ~SimulatedPortLink();

    // Starts the module for this number (1 when none is selected); throws
    // RuntimeError when the system gives no pseudo-terminal.
    void start(int portNumber);
    void stop();

    int portNumber() const { return m_number; }
    QString devicePath() const;
    // Points the port at the module when its number is the simulated one.
    void follow();
    // The panel's text for a number: the module for its number, else the
    // system's device.
    QString describe(const link::PortMap &map, int portNumber) const;

private:
    link::QtSerialPort &m_port;
    std::unique_ptr<sim::SimulatedModule> m_module;
    int m_number = 0;
};

}  // namespace tunara::ui
