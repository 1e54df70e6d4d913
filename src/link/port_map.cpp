#include "link/port_map.h"

#include "files/stored_settings.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

namespace tunara::link {

namespace {

// Sort key: group, stem, numeric suffix, then the whole path.
struct DeviceKey {
    int group;
    QString stem;
    long long number;
    QString path;
    bool operator<(const DeviceKey &other) const
    {
        if (group != other.group)
            return group < other.group;
        if (const int c = stem.compare(other.stem); c != 0)
            return c < 0;
        if (number != other.number)
            return number < other.number;
        return path < other.path;
    }
};

DeviceKey keyOf(const QString &path)
{
    static const QRegularExpression tail(QStringLiteral("^(.*?)(\\d+)$"));
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    QString stem = name;
    long long number = -1;
    const auto match = tail.match(name);
    if (match.hasMatch()) {
        stem = match.captured(1);
        number = match.captured(2).toLongLong();
    }
    int group = 2;
    if (stem == QLatin1String("ttyUSB"))
        group = 0;
    else if (stem == QLatin1String("ttyACM"))
        group = 1;
    else if (stem == QLatin1String("ttyS"))
        group = 3;
    return {group, stem, number, path};
}

}  // namespace

PortMap::PortMap(StoredSettings *settings) : m_settings(settings) {}

QString PortMap::noDeviceText(int portNumber)
{
    return QStringLiteral("Com%1 stands for no serial device on this system.").arg(portNumber);
}

QString PortMap::overrideSection()
{
    return QStringLiteral("Ports");
}

QString PortMap::overrideKey(int portNumber)
{
    return QStringLiteral("Com%1").arg(portNumber);
}

QString PortMap::overridePath(int portNumber) const
{
    if (!m_settings)
        return {};
    return m_settings->getSetting(overrideSection(), overrideKey(portNumber), QString()).trimmed();
}

void PortMap::setOverride(int portNumber, const QString &devicePath)
{
    if (m_settings)
        m_settings->saveSetting(overrideSection(), overrideKey(portNumber), devicePath.trimmed());
}

QStringList PortMap::orderDevices(QStringList devices)
{
    std::sort(devices.begin(), devices.end(),
              [](const QString &a, const QString &b) { return keyOf(a) < keyOf(b); });
    devices.erase(std::unique(devices.begin(), devices.end()), devices.end());
    return devices;
}

QStringList PortMap::systemDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return orderDevices(devices);
}

QString PortMap::devicePath(int portNumber) const
{
    if (portNumber < 1 || portNumber > 255)
        return {};
    const QString custom = overridePath(portNumber);
    if (!custom.isEmpty())
        return custom;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    const QStringList devices = systemDevices();
    return portNumber <= devices.size() ? devices.at(portNumber - 1) : QString();
#endif
}

}  // namespace tunara::link
