#include "dialogs/error_dialog.h"
#include "app/port_devices.h"
#include "app/scripted_ui.h"
#include "files/stored_settings.h"
#include "link/module_protocol.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

class PortDevices : public ::testing::Test {
protected:
    QTemporaryDir dir;
    StoredSettings settings = StoredSettings::atFile(dir.filePath(QStringLiteral("settings.ini")));
    link::PortMap map{&settings};
};

TEST_F(PortDevices, DescriptionNamesTheDeviceOrItsAbsence)
{
    map.setOverride(7, QStringLiteral("/dev/serial/by-id/usb-adapter"));
    EXPECT_EQ(ui::describePortDevice(map, 7),
              QStringLiteral("Com7 is /dev/serial/by-id/usb-adapter on this system (set for this user)."));
    // No machine lists 255 serial devices.
    EXPECT_EQ(ui::describePortDevice(map, 255), QStringLiteral("Com255 stands for no serial device on this system."));
}

TEST_F(PortDevices, SimulatedModuleAnswersOnItsNumberOnly)
{
    link::QtSerialPort port(map);
    port.setPortNumber(3);
    ui::SimulatedPortLink simulated(port);
    simulated.start(port.portNumber());
    ASSERT_FALSE(simulated.devicePath().isEmpty());
    EXPECT_EQ(simulated.portNumber(), 3);
    EXPECT_EQ(port.devicePath(), simulated.devicePath());
    EXPECT_TRUE(simulated.describe(map, 3).contains(simulated.devicePath()));

    // The program's own link reaches it.
    ScriptedUserInterface user;
    ui::CommonErrorDialog errors(user);
    ModuleImage image;
    link::ModuleProtocol protocol(port, image, errors);
    protocol.ReSync();
    EXPECT_TRUE(protocol.state().commOK());
    protocol.closePort();
    EXPECT_TRUE(user.calls.empty());

    // Another number reaches its own device.
    map.setOverride(4, QStringLiteral("/dev/null-port"));
    port.setPortNumber(4);
    simulated.follow();
    EXPECT_EQ(port.devicePath(), QStringLiteral("/dev/null-port"));
    EXPECT_EQ(simulated.describe(map, 4), ui::describePortDevice(map, 4));

    port.setPortNumber(3);
    simulated.follow();
    EXPECT_EQ(port.devicePath(), simulated.devicePath());
    simulated.stop();
    EXPECT_EQ(port.devicePath(), map.devicePath(3));
}

TEST_F(PortDevices, NoSelectedPortSimulatesCom1)
{
    link::QtSerialPort port(map);
    port.setPortNumber(0);
    ui::SimulatedPortLink simulated(port);
    simulated.start(0);
    EXPECT_EQ(simulated.portNumber(), 1);
}

}  // namespace
}  // namespace tunara::test
