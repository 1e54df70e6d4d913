#include "files/stored_settings.h"

#include "core/numbers.h"
#include "core/runtime_error.h"
#include "files/file_safety.h"

#include <QSettings>
#include <QStandardPaths>

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

// The settings file under the input rule: QSettings reads it as it opens,
// so a pipe, a device or a huge file there is refused first and the
// settings start empty (and are not stored) instead of hanging the program.
static bool usableSettingsFile(const QString &iniPath)
{
    try {
        files::readInput(iniPath, files::TextCap, QStringLiteral("settings file"));
    } catch (const files::FileRefused &e) {
        if (e.cause() != files::FileRefused::Cause::Missing) {
            qWarning("Settings file %s not used: %s", qPrintable(iniPath), qPrintable(e.reason()));
            return false;
        }
    }
    return true;
}

static std::unique_ptr<QSettings> unusedSettings()
{
    return std::make_unique<QSettings>(QString(), QSettings::IniFormat);
}

// A user's INI file is where QSettings keeps it by default; it is checked
// there before QSettings reads it.
StoredSettings::StoredSettings(const QString &applicationName)
    : m_settings(usableSettingsFile(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
                                    Organization + u'/' + applicationName + QStringLiteral(".ini"))
                     ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, Organization,
                                                   applicationName)
                     : unusedSettings())
{
}

StoredSettings::StoredSettings(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

StoredSettings StoredSettings::atFile(const QString &iniPath)
{
    return StoredSettings(usableSettingsFile(iniPath) ? std::make_unique<QSettings>(iniPath, QSettings::IniFormat)
                                                      : unusedSettings());
}

StoredSettings::~StoredSettings() = default;
StoredSettings::StoredSettings(StoredSettings &&) noexcept = default;

QString StoredSettings::getSetting(const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_settings->value(section + u'/' + key, defaultValue).toString();
}

void StoredSettings::saveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(section + u'/' + key, value);
    m_settings->sync();
}

QString StoredSettings::commPortText() const
{
    return getSetting(PortSection, PortKey, QStringLiteral("1"));
}

void StoredSettings::saveCommPort(int portNumber)
{
    saveSetting(PortSection, PortKey, QString::number(portNumber));
}

bool StoredSettings::writeEveryByte() const
{
    return getSetting(PortSection, QStringLiteral("WriteEveryByte"), QStringLiteral("0")) == QStringLiteral("1");
}

void StoredSettings::saveWriteEveryByte(bool on)
{
    saveSetting(PortSection, QStringLiteral("WriteEveryByte"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString StoredSettings::location() const
{
    return m_settings->fileName();
}

int parseCommPort(const QString &text)
{
    const std::optional<double> number = numbers::readNumber(text);
    if (!number)
        throw RuntimeError(TypeMismatchErrorNumber, QStringLiteral("Settings"),
                           QStringLiteral("The stored serial port setting \"%1\" is not a number.").arg(text));
    const double rounded = numbers::roundHalfEven(*number);
    if (rounded < 0 || rounded > 255)
        throw RuntimeError(OverflowErrorNumber, QStringLiteral("Settings"),
                           QStringLiteral("The stored serial port setting %1 is outside 0 to 255.").arg(text));
    return static_cast<int>(rounded);
}

}  // namespace tunara
