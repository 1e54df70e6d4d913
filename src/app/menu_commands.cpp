#include "app/menu_commands.h"

#include <QAction>

#include <stdexcept>

namespace tunara::ui {

void MenuCommands::add(QAction *action, bool allowed)
{
    const QString name = action->objectName();
    Entry &e = m_entries[name];
    e.action = action;
    e.allowed = allowed;
    connect(action, &QAction::triggered, this, [this, name] { run(name); });
    refresh(e);
}

QAction *MenuCommands::action(const QString &name) const
{
    return entry(name).action;
}

void MenuCommands::setHandler(const QString &name, std::function<void()> handler)
{
    Entry &e = entry(name);
    e.handler = std::move(handler);
    refresh(e);
}

bool MenuCommands::isBuilt(const QString &name) const
{
    return static_cast<bool>(entry(name).handler);
}

bool MenuCommands::run(const QString &name)
{
    // Copy: a handler may replace itself while it runs.
    const std::function<void()> handler = entry(name).handler;
    if (!handler)
        return false;
    handler();
    return true;
}

void MenuCommands::setAllowed(const QString &name, bool allowed)
{
    Entry &e = entry(name);
    e.allowed = allowed;
    refresh(e);
}

bool MenuCommands::isAllowed(const QString &name) const
{
    return entry(name).allowed;
}

void MenuCommands::refresh(Entry &e)
{
    e.action->setEnabled(e.allowed && e.handler);
}

MenuCommands::Entry &MenuCommands::entry(const QString &name)
{
    auto it = m_entries.find(name);
    if (it == m_entries.end())
        throw std::invalid_argument("no menu command " + name.toStdString());
    return *it;
}

const MenuCommands::Entry &MenuCommands::entry(const QString &name) const
{
    auto it = m_entries.constFind(name);
    if (it == m_entries.constEnd())
        throw std::invalid_argument("no menu command " + name.toStdString());
    return *it;
}

}  // namespace tunara::ui
