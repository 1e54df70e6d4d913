#pragma once

#include "files/recent_files.h"

#include <QObject>

#include <functional>

namespace tunara {
class StoredSettings;
}

namespace tunara::ui {

struct MainActions;
class UserInterface;

// The File menu's "&1 name.dat" .. "&8 name.dat" items above Exit, kept with
// the other settings. Choosing one opens that file as "&Open File" would; a
// file that is gone is reported and leaves the list.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    using Open = std::function<void(const QString &path)>;

    RecentFilesMenu(const MainActions &actions, StoredSettings &settings, UserInterface &ui, QWidget &owner, Open open);

    // A data file was opened or saved.
    void add(const QString &path);
    // Opens the path if it is still a file; else says so and drops it.
    void openIfThere(const QString &path);
    const RecentFiles &list() const { return m_list; }

private:
    void store();
    void refresh();

    const MainActions &m_actions;
    StoredSettings &m_settings;
    UserInterface &m_ui;
    QWidget &m_owner;
    Open m_open;
    RecentFiles m_list;
};

}  // namespace tunara::ui
