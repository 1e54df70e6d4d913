#pragma once

#include <QByteArray>
#include <QLocale>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <map>

namespace tunara::test {

// What a test can change for the whole process, and must leave as it found
// it so that the tests after it start alike in any order: the application's
// and the organisation's names, the version, the default locale, the
// settings format and the folder of a user's INI settings, the working
// folder and the environment variables the settings and data paths are
// read from.
struct ProcessState {
    // Without an application object the name is the program's own until one
    // is made; it is compared only between states that both had one.
    bool haveApplication = false;
    QString applicationName;
    QString organizationName;
    QString organizationDomain;
    QString applicationVersion;
    QLocale locale;
    QSettings::Format settingsFormat = QSettings::NativeFormat;
    QString userIniFolder;  // where QSettings keeps a user's INI files
    QString currentPath;
    std::map<QByteArray, QByteArray> environment;  // unset variables are missing

    static ProcessState capture();
    void restore() const;
    // One line per difference, "what: this -> other".
    QStringList differencesTo(const ProcessState &other) const;
};

// Holds the process state from its making and puts it back at its end: for
// a fixture whose code under test changes it (the main window names the
// application, the splash renames it).
class ProcessStateKeeper {
public:
    ProcessStateKeeper() : m_state(ProcessState::capture()) {}
    ~ProcessStateKeeper() { m_state.restore(); }
    ProcessStateKeeper(const ProcessStateKeeper &) = delete;
    ProcessStateKeeper &operator=(const ProcessStateKeeper &) = delete;

private:
    ProcessState m_state;
};

// Checks after every test of the run that it left the process state as it
// found it: one that did not fails, and the state is put back for the next.
// Call once, after InitGoogleTest.
void guardProcessState();

}  // namespace tunara::test
