#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QAction;

namespace tunara::ui {

// The window's menu commands by name (mnuDownload, ...). Each item has the
// enabled state the program gives it ("allowed") and, separately, whether
// the command is built in this version: an item whose command does not
// exist yet stays greyed out whatever the program's state says, so nothing
// offers to do what it cannot.
class MenuCommands : public QObject {
    Q_OBJECT
public:
    explicit MenuCommands(QObject *parent = nullptr) : QObject(parent) {}

    // Registers an item; its objectName is its command name.
    void add(QAction *action, bool allowed = true);
    QAction *action(const QString &name) const;

    // Builds the command: the item runs the handler when chosen.
    void setHandler(const QString &name, std::function<void()> handler);
    bool isBuilt(const QString &name) const;
    // Runs the command's handler; false when it is not built.
    bool run(const QString &name);

    void setAllowed(const QString &name, bool allowed);
    bool isAllowed(const QString &name) const;

private:
    struct Entry {
        QAction *action = nullptr;
        bool allowed = true;
        std::function<void()> handler;
    };
    void refresh(Entry &entry);
    Entry &entry(const QString &name);
    const Entry &entry(const QString &name) const;

    QHash<QString, Entry> m_entries;
};

}  // namespace tunara::ui
