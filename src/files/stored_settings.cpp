#include "files/stored_settings.h"

#include "core/numbers.h"
#include "core/runtime_error.h"

#include <QSettings>

#include <cmath>

namespace tunara {

namespace {
const QString Organization = QStringLiteral("Tunara");
const QString PortSection = QStringLiteral("Properties");
const QString PortKey = QStringLiteral("CommPort");
}  // namespace

QString StoredSettings::mainApplicationName()
{
    return QStringLiteral("Tunara_Kelm_Main");
}

StoredSettings::StoredSettings(const QString &applicationName)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, Organization, applicationName))
{
}

StoredSettings::StoredSettings(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

StoredSettings StoredSettings::atFile(const QString &iniPath)
{
    return StoredSettings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat));
}

StoredSettings::~StoredSettings() = default;
StoredSettings::StoredSettings(StoredSettings &&) noexcept = default;

QString StoredSettings::GetSetting(const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_settings->value(section + u'/' + key, defaultValue).toString();
}

void StoredSettings::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(section + u'/' + key, value);
    m_settings->sync();
}

QString StoredSettings::commPortText() const
{
    return GetSetting(PortSection, PortKey, QStringLiteral("1"));
}

void StoredSettings::saveCommPort(int portNumber)
{
    SaveSetting(PortSection, PortKey, QString::number(portNumber));
}

QString StoredSettings::location() const
{
    return m_settings->fileName();
}

int parseCommPort(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // Qt reads "nan" as a number; it fails every range test below and would
    // reach the integer conversion as garbage.
    if (!ok || std::isnan(value))
        throw RuntimeError(13, QStringLiteral("Settings"),
                           QStringLiteral("The stored serial port setting \"%1\" is not a number.").arg(text));
    const double number = numbers::roundHalfEven(value);
    if (number < 0 || number > 255)
        throw RuntimeError(OverflowErrorNumber, QStringLiteral("Settings"),
                           QStringLiteral("The stored serial port setting %1 is outside 0 to 255.").arg(text));
    return static_cast<int>(number);
}

}  // namespace tunara
