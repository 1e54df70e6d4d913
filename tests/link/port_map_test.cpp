// Which device stands behind "Com<n>".
#include "files/stored_settings.h"
#include "core/runtime_error.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using tunara::StoredSettings;
using tunara::link::PortMap;

TEST(PortMapOrder, AdaptersFirstThenModemsThenOthersThenBuiltInPortsNumerically)
{
    const QStringList ordered = PortMap::orderDevices({"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyUSB10",
                                                      "/dev/ttyUSB2", "/dev/ttyAMA0", "/dev/ttyS0", "/dev/ttyS2"});
    EXPECT_EQ(ordered, (QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyS0",
                                    "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(PortMapOverride, StoredPathWinsAndIsKeptPerUser)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("settings.ini");
    {
        StoredSettings settings = StoredSettings::atFile(ini);
        PortMap map(&settings);
        map.setOverride(7, "/dev/pts/42");
        EXPECT_EQ(map.devicePath(7), "/dev/pts/42");
    }
    StoredSettings again = StoredSettings::atFile(ini);
    EXPECT_EQ(again.getSetting("Ports", "Com7", ""), "/dev/pts/42");
    PortMap map(&again);
    EXPECT_EQ(map.devicePath(7), "/dev/pts/42");
    map.setOverride(7, "");
    EXPECT_EQ(map.overridePath(7), "");
}

TEST(PortMapRange, NumbersOutsideOneTo255StandForNothing)
{
    QTemporaryDir dir;
    StoredSettings settings = StoredSettings::atFile(dir.filePath("s.ini"));
    PortMap map(&settings);
    map.setOverride(0, "/dev/null");
    map.setOverride(256, "/dev/null");
    EXPECT_EQ(map.devicePath(0), "");
    EXPECT_EQ(map.devicePath(256), "");
    // Far past whatever this machine lists.
    EXPECT_EQ(map.devicePath(255), PortMap::systemDevices().size() >= 255 ? PortMap::systemDevices().at(254) : QString());
}

TEST(QtSerialPortOpen, NumberWithoutDeviceOrMissingDeviceIsACommError)
{
    QTemporaryDir dir;
    StoredSettings settings = StoredSettings::atFile(dir.filePath("s.ini"));
    tunara::link::QtSerialPort port{PortMap(&settings)};
    port.setPortNumber(255);
    if (PortMap::systemDevices().size() < 255) {
        try {
            port.open();
            FAIL() << "opened Com255";
        } catch (const tunara::RuntimeError &e) {
            EXPECT_EQ(e.number(), -2147220504);
            EXPECT_EQ(e.source(), "Comm Error");
            EXPECT_EQ(e.description(), "Com255 stands for no serial device on this system.");
        }
    }
    PortMap(&settings).setOverride(255, dir.filePath("gone"));
    try {
        port.open();
        FAIL() << "opened a missing device";
    } catch (const tunara::RuntimeError &e) {
        EXPECT_EQ(e.source(), "Comm Error");
        EXPECT_TRUE(e.description().startsWith("Cannot open Com255 (" + dir.filePath("gone") + "): "));
    }
    EXPECT_FALSE(port.isOpen());
}
