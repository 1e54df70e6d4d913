#include "support/process_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace tunara::test {

namespace {

// The variables the settings store, the restore points and the link's
// device map find their folders by.
const char *const WatchedVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                        "XDG_RUNTIME_DIR", "TMPDIR", "LANG", "LC_ALL", "TZ"};

// The folder QSettings keeps a user's INI files in (files named
// <folder>/<organisation>/<application>.ini); asking makes no file.
QString currentUserIniFolder()
{
    const QSettings probe(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("organisation"),
                          QStringLiteral("application"));
    return QFileInfo(QFileInfo(probe.fileName()).path()).path();
}

QString shown(const QByteArray &value, bool set)
{
    return set ? QString::fromLocal8Bit(value) : QStringLiteral("(unset)");
}

class Guard : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo &) override { m_before = ProcessState::capture(); }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        const QStringList changed = m_before.differencesTo(ProcessState::capture());
        if (changed.isEmpty())
            return;
        m_before.restore();
        ADD_FAILURE() << "the test left process-wide state changed:\n  " << changed.join(QStringLiteral("\n  ")).toStdString();
    }

private:
    ProcessState m_before;
};

}  // namespace

ProcessState ProcessState::capture()
{
    ProcessState s;
    s.haveApplication = QCoreApplication::instance() != nullptr;
    s.applicationName = QCoreApplication::applicationName();
    s.organizationName = QCoreApplication::organizationName();
    s.organizationDomain = QCoreApplication::organizationDomain();
    s.applicationVersion = QCoreApplication::applicationVersion();
    s.locale = QLocale();
    s.settingsFormat = QSettings::defaultFormat();
    s.userIniFolder = currentUserIniFolder();
    s.currentPath = QDir::currentPath();
    for (const char *name : WatchedVariables)
        if (qEnvironmentVariableIsSet(name))
            s.environment[name] = qgetenv(name);
    return s;
}

void ProcessState::restore() const
{
    if (haveApplication)
        QCoreApplication::setApplicationName(applicationName);
    QCoreApplication::setOrganizationName(organizationName);
    QCoreApplication::setOrganizationDomain(organizationDomain);
    QCoreApplication::setApplicationVersion(applicationVersion);
    QLocale::setDefault(locale);
    QSettings::setDefaultFormat(settingsFormat);
    if (currentUserIniFolder() != userIniFolder)
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userIniFolder);
    QDir::setCurrent(currentPath);
    for (const char *name : WatchedVariables) {
        const auto kept = environment.find(name);
        if (kept == environment.end())
            qunsetenv(name);
        else
            qputenv(name, kept->second);
    }
}

QStringList ProcessState::differencesTo(const ProcessState &other) const
{
    QStringList out;
    const auto note = [&out](const char *what, const QString &before, const QString &after) {
        if (before != after)
            out << QStringLiteral("%1: \"%2\" -> \"%3\"").arg(QLatin1String(what), before, after);
    };
    if (haveApplication && other.haveApplication)
        note("application name", applicationName, other.applicationName);
    note("organisation name", organizationName, other.organizationName);
    note("organisation domain", organizationDomain, other.organizationDomain);
    note("application version", applicationVersion, other.applicationVersion);
    note("default locale", locale.name(), other.locale.name());
    note("settings format", QString::number(int(settingsFormat)), QString::number(int(other.settingsFormat)));
    note("folder of the user's INI settings", userIniFolder, other.userIniFolder);
    note("working folder", currentPath, other.currentPath);
    for (const char *name : WatchedVariables) {
        const auto a = environment.find(name), b = other.environment.find(name);
        const bool aSet = a != environment.end(), bSet = b != other.environment.end();
        note(name, shown(aSet ? a->second : QByteArray(), aSet), shown(bSet ? b->second : QByteArray(), bSet));
    }
    return out;
}

void guardProcessState()
{
    // After the printer: the end of a test reaches the listeners last to
    // first, so a leak is reported before the test's verdict is printed.
    ::testing::UnitTest::GetInstance()->listeners().Append(new Guard);
}

}  // namespace tunara::test
