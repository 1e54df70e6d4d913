#pragma once

#include <QString>
#include <QStringList>

namespace tunara {
class StoredSettings;
}

namespace tunara::link {

// Which host device stands behind a port number 1..255 ("Com1".."Com255").
//
// On Windows number n is COMn. Elsewhere the numbers go, from 1 up, to the
// serial devices the system lists, in a fixed order: USB adapters
// (ttyUSB*), then USB modem-class devices (ttyACM*), then any other kind,
// then the built-in ports (ttyS*), each group in numeric order. A per-user
// override (settings section "Ports", key "Com<n>", value a device path)
// points any number at any device, e.g. a pseudo-terminal of the simulated
// module or a udev symlink; it wins over the listing.
class PortMap {
public:
    // Without settings only the system listing is used.
    explicit PortMap(StoredSettings *settings = nullptr);

    // Device path for the number, or "" when the number stands for no device.
    QString devicePath(int portNumber) const;

    // The override stored for a number ("" when none).
    QString overridePath(int portNumber) const;
    // Stores an override; an empty path removes it.
    void setOverride(int portNumber, const QString &devicePath);

    // The system's serial devices in the order the numbers take them.
    static QStringList systemDevices();
    // The ordering rule itself, for a given list of device paths.
    static QStringList orderDevices(QStringList devices);

    // What to tell the user when a number stands for no device.
    static QString noDeviceText(int portNumber);  // "Com<n> stands for no serial device on this system."

    static QString overrideSection();           // "Ports"
    static QString overrideKey(int portNumber);  // "Com<n>"

private:
    StoredSettings *m_settings;
};

}  // namespace tunara::link
